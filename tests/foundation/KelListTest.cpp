#include "foundation/KelList.h"
#include "foundation/ByteStream.h"
#include "foundation/IDList.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/PriList.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
// A node that counts its destructions, to check who frees what.
struct CountedNode : TKelNode {
    explicit CountedNode(int& deaths) : Deaths(deaths) {}
    ~CountedNode() override { ++Deaths; }
    int& Deaths;
};

std::vector<TKelNode*> Walk(const TKelList& list) {
    std::vector<TKelNode*> nodes;
    for (TKelNode* n = list.Next(nullptr); n; n = list.Next(n))
        nodes.push_back(n);
    return nodes;
}

std::vector<TKelNode*> WalkBack(const TKelList& list) {
    std::vector<TKelNode*> nodes;
    for (TKelNode* n = list.Prev(nullptr); n; n = list.Prev(n))
        nodes.push_back(n);
    return nodes;
}

// Forward and backward links agree with each other and with Count.
void ExpectConsistent(const TKelList& list) {
    auto forward = Walk(list);
    auto backward = WalkBack(list);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int32_t>(forward.size()), list.Count());
    if (!forward.empty()) {
        EXPECT_EQ(list.Head()->Prev(), nullptr);
        EXPECT_EQ(list.Tail()->Next(), nullptr);
    }
}

std::vector<uint16_t> Priorities(const TPriList& list) {
    std::vector<uint16_t> result;
    for (TPriNode* node : list)
        result.push_back(node->Priority);
    return result;
}
} // namespace

TEST(KelList, EmptyListHasNoNodesAndCursorGivesNothing) {
    TKelList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Next(nullptr), nullptr);
    EXPECT_EQ(list.Prev(nullptr), nullptr);
    EXPECT_EQ(list.RemoveHead(), nullptr);
    EXPECT_EQ(list.RemoveTail(), nullptr);
    EXPECT_EQ(list.Count(), 0);
}

TEST(KelList, OneNodeIsBothEndsOfTheCursorWalk) {
    TKelList list;
    TKelNode* only = list.AddTail(std::make_unique<TKelNode>());
    EXPECT_EQ(list.Next(nullptr), only);
    EXPECT_EQ(list.Prev(nullptr), only);
    EXPECT_EQ(list.Head(), list.Tail());
}

TEST(KelList, NthIsOneBasedAndBounded) {
    TKelList list;
    TKelNode* a = list.AddTail(std::make_unique<TKelNode>());
    TKelNode* b = list.AddTail(std::make_unique<TKelNode>());
    EXPECT_EQ(list.Nth(0), nullptr);
    EXPECT_EQ(list.Nth(-3), nullptr);
    EXPECT_EQ(list.Nth(1), a);
    EXPECT_EQ(list.Nth(2), b);
    EXPECT_EQ(list.Nth(3), nullptr);
}

TEST(KelList, AddInsertAndRemoveKeepLinksConsistent) {
    TKelList list;
    TKelNode* b = list.AddHead(std::make_unique<TKelNode>());
    TKelNode* a = list.AddHead(std::make_unique<TKelNode>());
    TKelNode* d = list.InsertAfter(b, std::make_unique<TKelNode>()); // after the tail: new tail
    TKelNode* c = list.InsertAfter(b, std::make_unique<TKelNode>()); // in the middle
    TKelNode* first = list.InsertAfter(nullptr, std::make_unique<TKelNode>());
    EXPECT_EQ(Walk(list), (std::vector<TKelNode*>{first, a, b, c, d}));
    EXPECT_EQ(list.Tail(), d);
    ExpectConsistent(list);

    auto middle = list.Remove(c);
    EXPECT_EQ(middle.get(), c);
    EXPECT_EQ(c->Next(), nullptr);
    EXPECT_EQ(c->Prev(), nullptr);
    auto tail = list.Remove(d);
    auto head = list.Remove(first);
    EXPECT_EQ(Walk(list), (std::vector<TKelNode*>{a, b}));
    ExpectConsistent(list);
    EXPECT_EQ(list.AddHead(nullptr), nullptr);
    EXPECT_EQ(list.InsertAfter(a, nullptr), nullptr);
    EXPECT_EQ(list.Count(), 2);
}

TEST(KelList, ClearAndDestructionFreeNodesButRemoveHandsThemBack) {
    int deaths = 0;
    {
        TKelList list;
        for (int i = 0; i < 3; ++i)
            list.AddTail(std::make_unique<CountedNode>(deaths));
        auto kept = list.RemoveTail();
        list.Clear();
        EXPECT_EQ(deaths, 2);
        EXPECT_EQ(list.Count(), 0);
        list.AddTail(std::move(kept));
        list.AddTail(std::make_unique<CountedNode>(deaths));
    }
    EXPECT_EQ(deaths, 4);
}

TEST(KelList, RangeForToleratesDeletingTheCurrentNode) {
    TKelListOf<TIDNode> list;
    for (const char* id : {"A", "B", "C"})
        list.AddTail(std::make_unique<TIDNode>(id));
    for (TIDNode* node : list)
        if (node->GetID() != "B") list.Remove(node);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Head()->GetID(), "B");
}

TEST(KelList, RecountFindsTheTrueCount) {
    TKelList list;
    list.AddTail(std::make_unique<TKelNode>());
    list.AddTail(std::make_unique<TKelNode>());
    EXPECT_EQ(list.Recount(), 2);
    EXPECT_TRUE(list.Contains(list.Tail()));
    TKelNode stranger;
    EXPECT_FALSE(list.Contains(&stranger));
}

TEST(PriList, AddKeepsAscendingOrderAndEqualsInArrivalOrder) {
    TPriList list;
    std::vector<TPriNode*> added;
    for (uint16_t p : {5, 3, 5, 1, 3})
        added.push_back(list.Add(std::make_unique<TPriNode>(p)));
    EXPECT_EQ(Priorities(list), (std::vector<uint16_t>{1, 3, 3, 5, 5}));
    std::vector<TPriNode*> order(list.begin(), list.end());
    EXPECT_EQ(order, (std::vector<TPriNode*>{added[3], added[1], added[4], added[0], added[2]}));
}

TEST(PriList, ComparesPrioritiesAsUnsigned) {
    TPriList list;
    list.Add(std::make_unique<TPriNode>(0xFFFF));
    list.Add(std::make_unique<TPriNode>(1));
    EXPECT_EQ(Priorities(list), (std::vector<uint16_t>{1, 0xFFFF}));
}

TEST(DataLists, FindDataMatchesTheVeryReference) {
    int x = 0, y = 0;
    TDataList list;
    list.AddTail(std::make_unique<TDataNode>(&x));
    TDataNode* second = list.AddTail(std::make_unique<TDataNode>(&y));
    EXPECT_EQ(list.FindData(&y), second);
    EXPECT_EQ(list.FindData(nullptr), nullptr);
    TPriDataList layers;
    auto* node = static_cast<TPriDataNode*>(layers.Add(std::make_unique<TPriDataNode>(3, &x)));
    EXPECT_EQ(layers.FindData(&x), node);
    EXPECT_EQ(layers.FindData(&y), nullptr);
}

TEST(IDList, FindIsCaseInsensitiveForIdsSetByTheNodeAndFirstWins) {
    TIDList list;
    TIDNode* first = list.AddTail(std::make_unique<TIDNode>("Room1"));
    list.AddTail(std::make_unique<TIDNode>("ROOM1"));
    EXPECT_EQ(first->GetID(), "ROOM1");
    EXPECT_EQ(list.FindID("room1"), first);
    EXPECT_EQ(list.FindID("room2"), nullptr);
}

TEST(IDList, LowerCaseIdReadFromAStreamIsNeverFound) {
    MemoryStream stream(Hex("01 02 00 00 00 78 00"));
    TIDList list;
    list.AddTail(std::unique_ptr<TIDNode>(static_cast<TIDNode*>(ReadNode(stream).release())));
    EXPECT_EQ(list.Head()->GetID(), "x");
    EXPECT_EQ(list.FindID("x"), nullptr);
}

TEST(ListPersistence, EmptyListIsTwoZeroBytes) {
    TKelList list;
    MemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(out.Data(), Hex("00 00"));
    out.Seek(0);
    list.AddTail(std::make_unique<TKelNode>());
    list.LoadFromStream(out);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(ListPersistence, IdNodesSaveByteExactlyAndLoadBack) {
    TIDList list;
    for (const char* id : {"A", "BC", ""})
        list.AddTail(std::make_unique<TIDNode>(id));
    MemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(out.Data(), Hex("03 00  01 02 00 00 00 41 00  01 04 00 00 00 42 00 43 00  01 00 00 00 00"));

    out.Seek(0);
    TIDList copy;
    copy.LoadFromStream(out);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Nth(2)->GetID(), "BC");
    EXPECT_EQ(copy.Nth(3)->ClassId, 1);
    EXPECT_EQ(out.Position(), out.Size());
}

TEST(ListPersistence, DamagedNodeKeepsWhatWasReadAndDropsThePartialNode) {
    // Two nodes announced; the second's string count claims more than is there.
    MemoryStream in(Hex("02 00  01 02 00 00 00 41 00  01 40 00 00 00 42"));
    TIDList list;
    EXPECT_THROW(list.LoadFromStream(in), KelException);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Head()->GetID(), "A");
}

TEST(ListPersistence, PriorityNodesWriteTheirPriority) {
    TPriList list;
    list.Add(std::make_unique<TPriNode>(0x1234));
    MemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(out.Data(), Hex("01 00 00 34 12"));
}

TEST(ListPersistence, VersionOneIdsAreShortStrings) {
    DataFormatVersion = 1;
    MemoryStream in(Hex("01 00 7F  01 02 41 42"));
    TIDList list;
    list.AddTail(std::unique_ptr<TIDNode>(static_cast<TIDNode*>(ReadNode(in).release())));
    EXPECT_EQ(list.Head()->GetID(), "");
    EXPECT_EQ(in.Position(), 3); // the empty ID's extra byte is consumed
    list.AddTail(std::unique_ptr<TIDNode>(static_cast<TIDNode*>(ReadNode(in).release())));
    EXPECT_EQ(list.Tail()->GetID(), "AB");
    DataFormatVersion = CurrentDataFormatVersion;
}
