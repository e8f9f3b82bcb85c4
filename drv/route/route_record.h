// Route records ('i'): read from any version into a host route, written as version 5.
// Stateless: the caller holds the counts.
#pragma once

#include "velkano/host_file.h"
#include "velkano/host_records.h"

namespace velkano {

// Reads the record at the file's position: sets the route's id and name and appends its
// points with their roles. FIO_Error "bad object" on a wrong tag or a cut record.
void readRouteRecord(CFile& file, FIO_Route& route);

// Writes the route as a version-5 record; false, writing nothing, when it has more listed
// points than a record can count. Throws std::out_of_range for a route without points.
bool writeRouteRecord(CFile& file, const FIO_Route& route);

}  // namespace velkano
