#pragma once
// The hit list as quorvel-cli search prints it, in UTF-8.
#include <string>
#include <vector>

#include "service/SongSearch.h"

namespace quorvel {

// A header line, then one line per hit: its 1-based number, file name and the 128K, HQ and SQ
// hashes, in aligned columns.
std::string hitTable(const std::vector<SearchHit>& hits);
// One line per hit, the same five fields separated by tabs, without a header.
std::string hitTsv(const std::vector<SearchHit>& hits);

} // namespace quorvel
