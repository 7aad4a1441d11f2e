#pragma once
// Streaming download of a URL into a file (filled in with the windows' download action).
