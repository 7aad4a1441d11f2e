#pragma once
// The bodies the demo service answers with, in the shapes of the real service.
#include <string>

namespace quorvel::demo {

// The search JSONP for a UTF-8 keyword: every catalogue song whose "singer - title" holds the
// keyword (ASCII letters compared without case), with "<em>" marks around the match. fillTo
// repeats the hits until there are that many (0: each hit once).
std::string searchAnswer(const std::string& keyword, const std::string& callback, int fillTo);
// The play-data JSON for a file hash, non-ASCII as \u escapes; an unknown hash gives an empty
// play_url. audioBase is the address the play URLs start with.
std::string playAnswer(const std::string& hash, const std::string& audioBase);

} // namespace quorvel::demo
