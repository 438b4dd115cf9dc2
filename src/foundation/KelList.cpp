#include "foundation/KelList.h"

#include "foundation/LoadSave.h"

void TKelNode::LoadFromStream(ByteStream&) {}

void TKelNode::SaveToStream(ByteStream& stream) const {
    WriteByte(stream, ClassId);
}

TKelList::~TKelList() {
    Clear();
}

int32_t TKelList::Recount() {
    NodeCount = 0;
    for (TKelNode* node = First; node; node = node->NextLink)
        ++NodeCount;
    return NodeCount;
}

TKelNode* TKelList::Nth(int32_t n) const {
    if (n <= 0) return nullptr;
    TKelNode* node = First;
    while (node && --n > 0)
        node = node->NextLink;
    return node;
}

bool TKelList::Contains(const TKelNode* node) const {
    for (TKelNode* cursor = First; cursor; cursor = cursor->NextLink)
        if (cursor == node) return true;
    return false;
}

TKelNode* TKelList::AddHead(std::unique_ptr<TKelNode> owned) {
    if (!owned) return nullptr;
    TKelNode* node = owned.release();
    node->PrevLink = nullptr;
    node->NextLink = First;
    if (First) First->PrevLink = node;
    First = node;
    if (!Last) Last = node;
    ++NodeCount;
    return node;
}

TKelNode* TKelList::AddTail(std::unique_ptr<TKelNode> owned) {
    if (!owned) return nullptr;
    TKelNode* node = owned.release();
    node->NextLink = nullptr;
    node->PrevLink = Last;
    if (Last) Last->NextLink = node;
    Last = node;
    if (!First) First = node;
    ++NodeCount;
    return node;
}

TKelNode* TKelList::InsertAfter(TKelNode* after, std::unique_ptr<TKelNode> owned) {
    if (!owned) return nullptr;
    if (!after) return AddHead(std::move(owned));
    if (!after->NextLink) return AddTail(std::move(owned));
    TKelNode* node = owned.release();
    node->PrevLink = after;
    node->NextLink = after->NextLink;
    after->NextLink->PrevLink = node;
    after->NextLink = node;
    ++NodeCount;
    return node;
}

std::unique_ptr<TKelNode> TKelList::RemoveHead() {
    if (!First) return nullptr;
    TKelNode* node = First;
    First = node->NextLink;
    if (First)
        First->PrevLink = nullptr;
    else
        Last = nullptr;
    node->NextLink = nullptr;
    --NodeCount;
    return std::unique_ptr<TKelNode>(node);
}

std::unique_ptr<TKelNode> TKelList::RemoveTail() {
    if (!Last) return nullptr;
    TKelNode* node = Last;
    Last = node->PrevLink;
    if (Last)
        Last->NextLink = nullptr;
    else
        First = nullptr;
    node->PrevLink = nullptr;
    --NodeCount;
    return std::unique_ptr<TKelNode>(node);
}

std::unique_ptr<TKelNode> TKelList::Remove(TKelNode* node) {
    if (!node) return nullptr;
    if (node == First) return RemoveHead();
    if (node == Last) return RemoveTail();
    node->PrevLink->NextLink = node->NextLink;
    node->NextLink->PrevLink = node->PrevLink;
    node->NextLink = node->PrevLink = nullptr;
    --NodeCount;
    return std::unique_ptr<TKelNode>(node);
}

void TKelList::Clear() {
    while (First)
        RemoveHead();
    NodeCount = 0;
}

void TKelList::SaveToStream(ByteStream& stream) {
    // Only the low 16 bits of the count are stored; no list comes near that.
    WriteWord(stream, static_cast<uint16_t>(Recount()));
    for (TKelNode* node = First; node; node = node->NextLink)
        node->SaveToStream(stream);
}

void TKelList::LoadFromStream(ByteStream& stream) {
    Clear();
    uint16_t count = ReadWord(stream);
    for (uint16_t i = 0; i < count; ++i)
        AddTail(ReadNode(stream));
}

TDataNode* TDataList::FindData(const void* data) const {
    for (TDataNode* node : *this)
        if (node->Data == data) return node;
    return nullptr;
}
