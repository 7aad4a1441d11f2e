#pragma once
// Names of the files the programs write: the lyrics file and the proposed name of a downloaded
// song. All GBK.
#include "text/Text.h"

namespace quorvel {

// name with every character a file name cannot hold ("/", "\", control bytes) as "_"; the
// trail bytes of double-byte characters are left alone.
Text safeFileName(const Text& name);
// directory + "/" + the safe song name + ".lrc.txt".
Text lyricsFilePath(const Text& directory, const Text& songName);
// The safe song name plus the extension of the link's last path segment (".mp3"), if any;
// without a song name, the segment itself.
Text songFileName(const Text& songName, const Text& link);

} // namespace quorvel
