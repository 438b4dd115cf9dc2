#include "foundation/PriList.h"

#include "foundation/LoadSave.h"

void TPriNode::LoadFromStream(ByteStream& stream) {
    TKelNode::LoadFromStream(stream);
    Priority = ReadWord(stream);
}

void TPriNode::SaveToStream(ByteStream& stream) const {
    TKelNode::SaveToStream(stream);
    WriteWord(stream, Priority);
}

TPriNode* TPriList::Add(std::unique_ptr<TPriNode> node) {
    if (!node) return nullptr;
    TPriNode* cursor = Prev(nullptr);
    while (cursor && cursor->Priority > node->Priority)
        cursor = Prev(cursor);
    return InsertAfter(cursor, std::move(node));
}

TPriDataNode* TPriDataList::FindData(const void* data) const {
    for (TPriNode* node : *this) {
        auto* dataNode = static_cast<TPriDataNode*>(node);
        if (dataNode->Data == data) return dataNode;
    }
    return nullptr;
}
