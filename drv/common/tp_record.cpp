#include "tp_record.h"

#include "record_io.h"

namespace velkano {

void readTpRecord(CFile&, FIO_TPEntry&) { throwBadObject(); }
void writeTpRecord(CFile&, const FIO_TPEntry&, int32_t) {}
double parseFrequency(const std::string&) { return 0.0; }

}  // namespace velkano
