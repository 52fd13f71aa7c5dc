// Puts test lists into a document through its own methods.
#pragma once

#include <utility>

#include "model/workspace.h"

namespace qel::test {

inline void setLists(Workspace& ws, ChannelList tv, ChannelList radio = {}) {
    ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& l) {
        l.tv = std::move(tv);
        l.radio = std::move(radio);
    });
}

inline void setBuffer(Workspace& ws, ChannelList buffer) {
    ws.changeLists(kTouchBuffer, [&](EditableLists& l) { l.buffer = std::move(buffer); });
}

// A document holding `tv` and `radio` as a freshly loaded file of type `type`.
inline Workspace loadedWorkspace(ChannelList tv, ChannelList radio = {},
                                 FileKind type = FileKind::DVB) {
    Workspace ws;
    ws.installChannels({{std::move(tv), std::move(radio)}, type, {}});
    return ws;
}

}  // namespace qel::test
