#pragma once
// Reading a list whose records must all be of one node family: a record of
// any other class is corruption, refused before it can be used as one.

#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/Text.h"

#include <memory>
#include <string>

template <class T, class List> void LoadTypedList(List& list, ByteStream& stream, const std::string& what) {
    list.Clear();
    uint16_t count = ReadWord(stream);
    for (uint16_t i = 0; i < count; ++i) {
        std::unique_ptr<TKelNode> node = ReadNode(stream);
        auto* typed = dynamic_cast<T*>(node.get());
        if (!typed) throw KelException(FormatText(what, node->ClassId));
        node.release();
        list.AddTail(std::unique_ptr<T>(typed));
    }
}
