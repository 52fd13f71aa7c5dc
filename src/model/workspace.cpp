#include "model/workspace.h"

namespace qel {

bool SettingsImageLoaded(std::string_view image) {
    return image.substr(0, 8) == kDvb98Tag;
}

void Workspace::Initialize() {
    TVList.clear();
    RadioList.clear();
    TVPos = 1;
    RadioPos = 1;
    CurrentList = ListId::TV;
}

}  // namespace qel
