#pragma once
// Nodes with an unsigned 16-bit priority, kept in ascending order.

#include "foundation/KelList.h"

class TPriNode : public TKelNode {
public:
    explicit TPriNode(uint16_t priority = 0) : Priority(priority) {}
    uint16_t Priority;

    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;
};

class TPriDataNode : public TPriNode {
public:
    TPriDataNode(uint16_t priority, void* data) : TPriNode(priority), Data(data) {}
    void* Data; // not owned, not persisted
};

class TPriList : public TKelListOf<TPriNode> {
public:
    // Inserts after every node whose priority is less than or equal, so equal
    // priorities keep the order in which they were added. Changing a node's
    // Priority later does not move it.
    TPriNode* Add(std::unique_ptr<TPriNode> node);
};

class TPriDataList : public TPriList {
public:
    TPriDataNode* FindData(const void* data) const;
};
