#include "fio_velkano17.h"

#include <algorithm>

#include "tp_record.h"

FIOVelkano17::FIOVelkano17() = default;
FIOVelkano17::~FIOVelkano17() = default;

bool FIOVelkano17::readTpRecord(CFile& file, FIO_TPEntry& entry) {
    velkano::readTpRecord(file, entry);
    return true;
}

bool FIOVelkano17::writeTpRecord(CFile& file, const FIO_TPEntry& entry) {
    if (tpDone >= tpTotal) return false;
    velkano::writeTpRecord(file, entry, tpDone + 1);
    ++tpDone;
    maxTpNumber = std::max(maxTpNumber, tpDone);
    return true;
}
