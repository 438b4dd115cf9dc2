#pragma once
// Nodes named by a text ID, upper-cased when set through the node's own
// operations, with lookup by ID.

#include "foundation/KelList.h"

#include <string>

class TIDNode : public TKelNode {
public:
    TIDNode();
    explicit TIDNode(const std::string& id);

    const std::string& GetID() const { return ID; }
    // Stores the text with the ASCII letters upper-cased.
    void SetID(const std::string& id);

    // Reads the ID exactly as stored, without upper-casing; format version 1
    // stores it as a short string.
    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

protected:
    std::string ID;
};

class TIDList : public TKelListOf<TIDNode> {
public:
    // Upper-cases the key and returns the first node from the head whose stored
    // ID equals it exactly. An ID read from a stream in lower case is never found.
    TIDNode* FindID(const std::string& key) const;
};

// The common base of the hit-box and frame-set lists.
class TGameIDList : public TIDList {};

// Reads an ID-like string record: a short string in format version 1 (with one
// more byte skipped after an empty one), a UTF-16 string record otherwise.
std::string ReadVersionedString(ByteStream& stream);
