// The turnpoint record ('n') both legacy formats share: read into a FIO_TPEntry from any
// record version, written from one as version 5.
#pragma once

#include <cstdint>
#include <string>

#include "velkano/host_file.h"
#include "velkano/host_records.h"

namespace velkano {

// Reads one record at the file's position. Every field is read and every tag tested before
// a member of entry changes, so a record that fails (FIO_Error "bad object") leaves the
// entry untouched.
void readTpRecord(CFile& file, FIO_TPEntry& entry);

// Writes entry as a version-5 record carrying the given turnpoint number.
void writeTpRecord(CFile& file, const FIO_TPEntry& entry, int32_t number);

// The leading decimal number of a frequency text, read as in the C locale whatever the
// host's locale: optional white space, optional sign, digits, optional '.' and digits
// ("122.500" -> 122.5, " 123.9MHz" -> 123.9). 0 when the text does not start that way.
double parseFrequency(const std::string& text);

}  // namespace velkano
