// SPDX-License-Identifier: GPL-3.0-or-later
// Reports from the mouse: each as the status poll takes it, then all of them as what a
// command meets while it waits for its answer. The input is a list of reports, each a
// length byte and that many bytes (see Fuzz::replyWith).
#include "FuzzInstallation.h"
#include "HidTransport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
// A command that is answered with its data compared, and one compared by its header only.
void sendCommands(const uint8_t *data, size_t size) {
    const uint8_t stage[4] = {0x10, 0x00, 0x10, 0x00};
    for (uint8_t code : {uint8_t(0x02), uint8_t(0x40)}) {
        Fuzz::replyWith(data, size);
        const int result = Fuzz::transport().SendFrame(code, 0x0010, kTagFirst, stage, 4);
        // Done means the mouse confirmed it: silence or a foreign report never does.
        if (result == ResultDone && !Fuzz::lastWriteConfirmed())
            std::abort();
    }
    Fuzz::replyWith(nullptr, 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    for (size_t at = 0; at < size;) {
        const size_t length = std::min<size_t>({data[at], size - at - 1, 64});
        unsigned char reply[64] = {};
        std::memcpy(reply, data + at + 1, length);
        // Only a whole report is taken: a short one would be read as if its missing bytes
        // were zeros.
        if (reportKind(reply, int(length)) != ReportKind::Other && length < size_t(kFrameLength))
            std::abort();
        at += 1 + length;
    }
    sendCommands(data, size);
    return 0;
}
