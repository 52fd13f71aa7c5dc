// Attributes set on every marked channel at once (antenna, 12 V, DiSEqC port, spectral
// inversion, parental lock, AutoPmt, AutoPid), the STAB rotor position of satellite
// header entries, and the jump from header to header.
#pragma once

#include "listedit/editing.h"

namespace qel {

void setAntenna(ChannelList& list, const Marks& marks, int antenna);  // 1-8: Ant "00n0"
void setVoltage(ChannelList& list, const Marks& marks, int on);       // AvFlags bit 4
void setDiseqcPort(ChannelList& list, const Marks& marks, int port);  // 0-3: TuneFlags bits 1-0
void setSpectralInversion(ChannelList& list, const Marks& marks,
                          int mode);  // 0 auto, 1 off, 2 on: bits 3-2
void setParentalLock(ChannelList& list, const Marks& marks, int on);  // skips header entries
void setAutoPmt(ChannelList& list, const Marks& marks, int on);
void setAutoPid(ChannelList& list, const Marks& marks, int on);
// The STAB position r of the marked satellite header entries (APid = hex of r).
void setStabPosition(ChannelList& list, const Marks& marks, int position);

enum class Direction { Next, Previous };

// The row of the next (previous) satellite header entry from `selectedRow`; past the
// last header it is the last channel, before the first one row 1.
int findSatelliteHeader(const ChannelList& list, int selectedRow, Direction direction);

}  // namespace qel
