#pragma once
// Intrusive doubly linked lists that own their nodes.
//
// Iteration uses a nil cursor: Next(nullptr) gives the first node, Next(node)
// the following one, and the walk stops at nullptr (backwards the same with
// Prev). A loop that may delete the current node takes the next one first.
// The add operations take ownership; the remove operations hand the node back.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

class ByteStream;
class TKelList;

class TKelNode {
public:
    TKelNode() = default;
    virtual ~TKelNode() = default;
    TKelNode(const TKelNode&) = delete;
    TKelNode& operator=(const TKelNode&) = delete;

    TKelNode* Next() const { return NextLink; }
    TKelNode* Prev() const { return PrevLink; }

    // Says which class the node is re-created as when read back.
    uint8_t ClassId = 0;

    // The node reader has already consumed the class id; the base reads nothing.
    virtual void LoadFromStream(ByteStream& stream);
    // The base writes the class id byte; subclasses write their fields after it.
    virtual void SaveToStream(ByteStream& stream) const;

private:
    friend class TKelList;
    TKelNode* NextLink = nullptr;
    TKelNode* PrevLink = nullptr;
};

class TKelList {
public:
    TKelList() = default;
    virtual ~TKelList();
    TKelList(const TKelList&) = delete;
    TKelList& operator=(const TKelList&) = delete;

    int32_t Count() const { return NodeCount; }
    TKelNode* Head() const { return First; }
    TKelNode* Tail() const { return Last; }
    bool IsEmpty() const { return First == nullptr; }

    int32_t Recount();
    // 1-based; 0 or less, or past the end, gives nullptr.
    TKelNode* Nth(int32_t n) const;
    TKelNode* Next(const TKelNode* cursor) const { return cursor ? cursor->NextLink : First; }
    TKelNode* Prev(const TKelNode* cursor) const { return cursor ? cursor->PrevLink : Last; }
    bool Contains(const TKelNode* node) const;

    TKelNode* AddHead(std::unique_ptr<TKelNode> node);
    TKelNode* AddTail(std::unique_ptr<TKelNode> node);
    // After nullptr puts the node first; there is no insert-before.
    TKelNode* InsertAfter(TKelNode* after, std::unique_ptr<TKelNode> node);
    std::unique_ptr<TKelNode> RemoveHead();
    std::unique_ptr<TKelNode> RemoveTail();
    // The node must belong to this list.
    std::unique_ptr<TKelNode> Remove(TKelNode* node);
    void Clear();

    // A 16-bit count, then each node's record. Loading clears the list first
    // and re-creates every node through the node reader (ReadNode).
    virtual void LoadFromStream(ByteStream& stream);
    virtual void SaveToStream(ByteStream& stream);

private:
    TKelNode* First = nullptr;
    TKelNode* Last = nullptr;
    int32_t NodeCount = 0;
};

// A list whose nodes are all of class T: the same list with typed access and
// range-for iteration (which takes the next node before handing out the current).
template <class T, class Base = TKelList> class TKelListOf : public Base {
public:
    T* Head() const { return static_cast<T*>(Base::Head()); }
    T* Tail() const { return static_cast<T*>(Base::Tail()); }
    T* Nth(int32_t n) const { return static_cast<T*>(Base::Nth(n)); }
    T* Next(const T* cursor) const { return static_cast<T*>(Base::Next(cursor)); }
    T* Prev(const T* cursor) const { return static_cast<T*>(Base::Prev(cursor)); }
    T* AddHead(std::unique_ptr<T> node) { return static_cast<T*>(Base::AddHead(std::move(node))); }
    T* AddTail(std::unique_ptr<T> node) { return static_cast<T*>(Base::AddTail(std::move(node))); }
    T* InsertAfter(T* after, std::unique_ptr<T> node) {
        return static_cast<T*>(Base::InsertAfter(after, std::move(node)));
    }
    std::unique_ptr<T> Remove(T* node) { return Downcast(Base::Remove(node)); }
    std::unique_ptr<T> RemoveHead() { return Downcast(Base::RemoveHead()); }
    std::unique_ptr<T> RemoveTail() { return Downcast(Base::RemoveTail()); }

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T**;
        using reference = T*;

        explicit Iterator(T* node)
            : Current(node), Following(node ? static_cast<T*>(node->Next()) : nullptr) {}
        T* operator*() const { return Current; }
        Iterator& operator++() {
            Current = Following;
            Following = Current ? static_cast<T*>(Current->Next()) : nullptr;
            return *this;
        }
        bool operator==(const Iterator& other) const { return Current == other.Current; }

    private:
        T* Current;
        T* Following;
    };
    Iterator begin() const { return Iterator(Head()); }
    Iterator end() const { return Iterator(nullptr); }

private:
    static std::unique_ptr<T> Downcast(std::unique_ptr<TKelNode> node) {
        return std::unique_ptr<T>(static_cast<T*>(node.release()));
    }
};

// A node that refers to something it does not own.
class TDataNode : public TKelNode {
public:
    explicit TDataNode(void* data = nullptr) : Data(data) {}
    void* Data;
};

class TDataList : public TKelListOf<TDataNode> {
public:
    // The first node from the head whose Data is this very reference.
    TDataNode* FindData(const void* data) const;
};
