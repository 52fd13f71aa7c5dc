// The CSV export's header row and one whole channel row, for tests that build CSV files.
#pragma once

#include <string>

namespace qel::test {

inline const std::string kCsvHeader =
    "list,ChName,Freq,Pol,Srate,Fec,Sat,LoHi,VPid,APid,PPid,NetId,TsId,SerId,TrId,Ant,AntAux,"
    "PmtPid,PmcPid,TxtPid,Acbw,TuneFlags,Aux292,AvFlags,ServType,Parental,AutoPid,AutoPmt";
inline const std::string kCsvRow =
    "TV,RAI UNO,01176600,1,275000,3,000,0,0200,0201,0202,013E,2775,D431,0000,0000,0000,0102,"
    "0000,0203,A5,0103,BEEF,10,01,0,1,0";

}  // namespace qel::test
