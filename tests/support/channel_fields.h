// Several fields of a channel record as one text, so that a test sets or compares a record's
// fields in one line: fieldsOf(r, "Freq Pol") is "01176600|1", and
// withFields(r, "Freq Pol", "01176600|1") sets them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "model/channel_rec.h"

namespace qel::test {

// The fields named in `names` (one blank between names, any order), values joined by '|'; an
// unknown name fails the test.
inline std::string fieldsOf(const ChannelRec& r, std::string_view names) {
    std::string out;
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        const std::string_view name = names.substr(at, end - at);
        bool found = false;
        std::string value = "?";
        forEachField(r, [&](std::string_view n, const auto& field) {
            if (n == name) value = field.str(), found = true;
        });
        if (!found) ADD_FAILURE() << "no field " << name;
        out += (at == 0 ? "" : "|") + value;
        at = end + 1;
    }
    return out;
}

// fieldsOf each record of a list, joined by blanks.
template <class List>
std::string column(const List& list, std::string_view names) {
    std::string out;
    for (const ChannelRec& r : list)
        out += (out.empty() ? "" : " ") + fieldsOf(r, names);
    return out;
}

// `r` with the fields named in `names` set to the '|'-separated `values`, in the same order.
inline ChannelRec withFields(ChannelRec r, std::string_view names, std::string_view values) {
    for (std::size_t at = 0, v = 0; at < names.size() && v <= values.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        const std::size_t vEnd = std::min(values.find('|', v), values.size());
        bool found = false;
        forEachField(r, [&](std::string_view n, auto& field) {
            if (n == names.substr(at, end - at)) field = values.substr(v, vEnd - v), found = true;
        });
        if (!found) ADD_FAILURE() << "no field " << names.substr(at, end - at);
        at = end + 1;
        v = vEnd + 1;
    }
    return r;
}

}  // namespace qel::test
