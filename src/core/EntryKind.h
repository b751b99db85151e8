#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/LoadedArchive.h"

namespace vxa {

// What an entry holds, told from its header and the first of its stored
// bytes. The program never unpacks anything, so only entries stored as they
// are (compression type 0) are looked into; a packed entry is known by its
// type alone.
enum class Content : std::uint8_t {
    Blank,   // no record
    Packed,  // compression type other than 0
    Wav,
    Smk,
    Xmi,
    Other,
};

// The facts a WAV header gives. Sizes the header claims past the entry's
// end are cut to what is stored.
struct WavFacts {
    std::uint16_t Format = 0;  // 1 integer PCM, 3 floating point, others as stored
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint16_t Bits = 0;
    std::uint16_t BlockAlign = 0;  // bytes of one frame, all channels
    std::uint64_t DataStart = 0;   // where the samples begin in the stored bytes
    std::uint64_t DataSize = 0;    // how many sample bytes are stored
    bool Cut = false;              // the header claims more than is stored
    double seconds() const;
};

struct SmkFacts {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t Frames = 0;
    double FramesPerSecond = 0;
};

struct EntryKind {
    Content What = Content::Other;
    std::uint16_t CompType = 0;
    // For a shared entry, the entry (0-based) whose record it shares; its
    // content is that record's.
    std::optional<std::int32_t> Owner;
    WavFacts Wav;                    // for Content::Wav
    SmkFacts Smk;                    // for Content::Smk
    std::uint32_t XmiSequences = 0;  // for Content::Xmi; 0 when not stated

    // "wav", "smk" or "xmi" for those, else "bin": the extension an entry's
    // file gets when taken out.
    const char* extension() const;
    // One line for a person: "WAV, 2 channels, 22050 Hz, 16 bits, 1.50 s".
    std::string describe() const;
};

// Whether stored bytes beginning with `head` (`size` bytes of it) may be of
// a kind the game uses: false rules out every kind but Other.
bool MayBeKnownContent(const char* head, std::size_t size);

// Reads up to `size` stored bytes from position `from`; returns how many it
// read, fewer only at the end.
using ReadStored = std::function<std::size_t(std::uint64_t from, void* buffer, std::size_t size)>;

// The content of `stored` stored bytes of an unpacked entry, read through
// `read`: only the few bytes its headers span. Never trusts a size it reads.
EntryKind KindOfBytes(const ReadStored& read, std::uint64_t stored);

// The kind of `entry` of the loaded archive, read from the held archive.
// Throws IoError.
EntryKind KindOf(const LoadedArchive& s, std::int32_t entry);
// The same, its stored bytes (its owner's for a shared entry) read through
// `read`.
EntryKind KindOf(const LoadedArchive& s, std::int32_t entry, const ReadStored& read);

}  // namespace vxa
