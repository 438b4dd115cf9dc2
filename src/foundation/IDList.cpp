#include "foundation/IDList.h"

#include "foundation/LoadSave.h"
#include "foundation/Text.h"

TIDNode::TIDNode() {
    ClassId = 1;
}

TIDNode::TIDNode(const std::string& id) {
    SetID(id);
    ClassId = 1;
}

void TIDNode::SetID(const std::string& id) {
    ID = UpperCase(id);
}

void TIDNode::LoadFromStream(ByteStream& stream) {
    TKelNode::LoadFromStream(stream);
    ID = ReadVersionedString(stream);
}

void TIDNode::SaveToStream(ByteStream& stream) const {
    TKelNode::SaveToStream(stream);
    WriteString(stream, ID);
}

TIDNode* TIDList::FindID(const std::string& key) const {
    std::string wanted = UpperCase(key);
    for (TIDNode* node : *this)
        if (node->GetID() == wanted) return node;
    return nullptr;
}

std::string ReadVersionedString(ByteStream& stream) {
    if (DataFormatVersion != 1) return ReadString(stream);
    std::string text = ReadShortString(stream);
    if (text.empty()) ReadByte(stream);
    return text;
}
