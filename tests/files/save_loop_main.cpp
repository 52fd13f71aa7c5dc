// The save-under-kill test's child: saves the two lists of saved_lists.h to the target named
// on the command line, one after the other, until it is killed. Each save reads the list back
// and writes it as the program saves a channel list.
#include <cstdio>

#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/saved_lists.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qel-save-loop TARGET\n");
        return 2;
    }
    const std::string lists[2] = {qel::test::savedList(0), qel::test::savedList(1)};
    // The first save writes the list the target does not hold, so that every save changes it.
    const auto held = qel::readFileBytes(argv[1], lists[0].size());
    for (int i = held && *held == lists[0] ? 1 : 0;; ++i) {
        const auto parsed = qel::parseDvb(lists[i % 2]);
        if (!parsed) return 3;
        const qel::Status st =
            qel::writeFileAtomic(argv[1], qel::encodeDvb(parsed->tv, parsed->radio));
        if (!st) {
            std::fprintf(stderr, "%s: %s\n", std::string(qel::errorText(st.error())).c_str(),
                         st.detail().c_str());
            return 1;
        }
    }
}
