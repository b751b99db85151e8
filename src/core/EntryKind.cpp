#include "core/EntryKind.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/EntryBytes.h"

namespace vxa {

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
bool Is(const unsigned char* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// The format code inside an extensible format chunk: the first two bytes of
// its sub-format identifier.
constexpr std::uint16_t kExtensible = 0xFFFE;

void ReadFormat(const unsigned char* f, std::size_t size, WavFacts& w) {
    w.Format = Le16(f);
    w.Channels = Le16(f + 2);
    w.SampleRate = Le32(f + 4);
    w.BlockAlign = Le16(f + 12);
    w.Bits = Le16(f + 14);
    if (w.Format == kExtensible && size >= 26 && Le16(f + 16) >= 22)
        w.Format = Le16(f + 24);
}

// Walks the chunks after "RIFF", size, "WAVE" for the format and the
// samples. A chunk's size may claim anything: the walk ends where the
// stored bytes do, and after a bounded number of chunks.
WavFacts ReadWav(const ReadStored& read, std::uint64_t stored) {
    WavFacts w;
    std::uint64_t pos = 12;
    bool format = false, data = false;
    for (int chunk = 0; chunk < 64 && !(format && data) && pos + 8 <= stored; ++chunk) {
        unsigned char head[8];
        if (read(pos, head, 8) != 8)
            break;
        const std::uint32_t size = Le32(head + 4);
        const std::uint64_t body = pos + 8;
        if (Is(head, "fmt ") && !format) {
            unsigned char f[26] = {};
            const std::size_t n = read(body, f, std::min<std::size_t>(sizeof f, size));
            if (n >= 16) {
                ReadFormat(f, n, w);
                format = true;
            }
        } else if (Is(head, "data") && !data) {
            w.DataStart = body;
            w.DataSize = std::min<std::uint64_t>(size, stored - body);
            w.Cut = size > stored - body;
            data = true;
        }
        pos = body + size + (size & 1);
    }
    return w;
}

SmkFacts ReadSmk(const unsigned char* h) {
    SmkFacts f{Le32(h + 4), Le32(h + 8), Le32(h + 12), 10.0};
    // Time per frame: positive in milliseconds, negative in 10-microsecond
    // units; 0 means the default of 10 frames a second.
    const auto rate = static_cast<std::int32_t>(Le32(h + 16));
    if (rate > 0)
        f.FramesPerSecond = 1000.0 / rate;
    else if (rate < 0)
        f.FramesPerSecond = 100000.0 / -static_cast<double>(rate);
    return f;
}

std::string Format(const char* pattern, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

}  // namespace

bool MayBeKnownContent(const char* head, std::size_t size) {
    if (size < 4)
        return false;
    const auto* h = reinterpret_cast<const unsigned char*>(head);
    return Is(h, "RIFF") || Is(h, "SMK2") || Is(h, "SMK4") || Is(h, "FORM");
}

double WavFacts::seconds() const {
    const std::uint64_t frame = BlockAlign ? BlockAlign : std::uint64_t{Channels} * Bits / 8;
    if (frame == 0 || SampleRate == 0)
        return 0;
    return static_cast<double>(DataSize / frame) / SampleRate;
}

EntryKind KindOfBytes(const ReadStored& read, std::uint64_t stored) {
    EntryKind k;
    unsigned char h[24] = {};
    const std::size_t n = read(0, h, sizeof h);
    if (n >= 12 && Is(h, "RIFF") && Is(h + 8, "WAVE")) {
        k.What = Content::Wav;
        k.Wav = ReadWav(read, stored);
    } else if (n >= 4 && (Is(h, "SMK2") || Is(h, "SMK4"))) {
        k.What = Content::Smk;
        if (n >= 20)
            k.Smk = ReadSmk(h);
    } else if (n >= 12 && Is(h, "FORM") && Is(h + 8, "XDIR")) {
        k.What = Content::Xmi;
        // "INFO", its size, then the number of sequences in the file.
        if (n >= 22 && Is(h + 12, "INFO"))
            k.XmiSequences = Le16(h + 20);
    }
    return k;
}

EntryKind KindOf(const LoadedArchive& s, std::int32_t entry) {
    return KindOf(s, entry, [&](std::uint64_t from, void* buffer, std::size_t size) {
        return ReadEntryBytes(s, entry, from, buffer, size);
    });
}

EntryKind KindOf(const LoadedArchive& s, std::int32_t entry, const ReadStored& read) {
    const EntryTable& t = s.Table;
    EntryKind k;
    if (entry < 0 || entry >= t.EntryCount)
        return k;
    const std::int32_t link = t.Links[static_cast<std::size_t>(entry)];
    if (link < 0) {
        k.What = Content::Blank;
        return k;
    }
    const std::uint16_t type = t.CompTypes[static_cast<std::size_t>(entry)];
    if (type != 0) {
        k.What = Content::Packed;
    } else {
        k = KindOfBytes(read, StoredSize(s, entry));
    }
    k.CompType = type;
    if (link > 0)
        k.Owner = link - 1;
    return k;
}

const char* EntryKind::extension() const {
    switch (What) {
        case Content::Wav:
            return "wav";
        case Content::Smk:
            return "smk";
        case Content::Xmi:
            return "xmi";
        default:
            return "bin";
    }
}

std::string EntryKind::describe() const {
    switch (What) {
        case Content::Blank:
            return "Blank";
        case Content::Packed:
            return Format("Packed (type %u)", unsigned{CompType});
        case Content::Wav:
            return Format("WAV, %u channel%s, %u Hz, %u bits, %.2f s%s", unsigned{Wav.Channels},
                          Wav.Channels == 1 ? "" : "s", unsigned{Wav.SampleRate},
                          unsigned{Wav.Bits}, Wav.seconds(),
                          Wav.Cut ? " (header claims more than is stored)" : "");
        case Content::Smk:
            return Format("SMK video, %u x %u, %u frames, %.2f frames/s", unsigned{Smk.Width},
                          unsigned{Smk.Height}, unsigned{Smk.Frames}, Smk.FramesPerSecond);
        case Content::Xmi:
            return Format("XMI music, %u sequences", unsigned{XmiSequences});
        case Content::Other:
            return "Other";
    }
    return "Other";
}

}  // namespace vxa
