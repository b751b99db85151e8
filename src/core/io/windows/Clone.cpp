#include "Replace.h"

#include <algorithm>

namespace vxa {

namespace {

// Not in the MinGW headers (winioctl.h, winnt.h) this build uses.
constexpr DWORD kSupportsBlockRefcounting = 0x08000000;  // FILE_SUPPORTS_BLOCK_REFCOUNTING
constexpr DWORD kDuplicateExtentsToFile = 0x00098344;    // FSCTL_DUPLICATE_EXTENTS_TO_FILE
constexpr DWORD kGetIntegrityInformation = 0x0009027C;   // FSCTL_GET_INTEGRITY_INFORMATION
struct DuplicateExtentsData {
    HANDLE FileHandle;
    LARGE_INTEGER SourceFileOffset;
    LARGE_INTEGER TargetFileOffset;
    LARGE_INTEGER ByteCount;
};
struct IntegrityInformation {
    WORD ChecksumAlgorithm;
    WORD Reserved;
    DWORD Flags;
    DWORD ChecksumChunkSizeInBytes;
    DWORD ClusterSizeInBytes;
};
// One request stays well below the 4 GiB a volume may take at once.
constexpr std::uint64_t kCloneStep = std::uint64_t{1} << 30;

DWORD VolumeOf(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(h, &info) ? info.dwVolumeSerialNumber : 0;
}

}  // namespace

std::uint64_t CloneCluster(HANDLE from, HANDLE to) {
    DWORD flags = 0;
    if (!GetVolumeInformationByHandleW(to, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
        !(flags & kSupportsBlockRefcounting) || VolumeOf(from) != VolumeOf(to))
        return 0;
    IntegrityInformation info{};
    DWORD got = 0;
    if (!DeviceIoControl(from, kGetIntegrityInformation, nullptr, 0, &info, sizeof info, &got,
                         nullptr))
        return 0;
    return info.ClusterSizeInBytes;
}

std::uint64_t CloneRange(HANDLE from, HANDLE to, std::uint64_t position, std::uint64_t target,
                         std::uint64_t size) {
    // The target must reach past the range before extents are shared into it.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(target + size);
    if (size == 0 || !SetFileInformationByHandle(to, FileEndOfFileInfo, &end, sizeof end))
        return 0;
    std::uint64_t done = 0;
    while (done < size) {
        const std::uint64_t step = std::min(size - done, kCloneStep);
        DuplicateExtentsData data{};
        data.FileHandle = from;
        data.SourceFileOffset.QuadPart = static_cast<LONGLONG>(position + done);
        data.TargetFileOffset.QuadPart = static_cast<LONGLONG>(target + done);
        data.ByteCount.QuadPart = static_cast<LONGLONG>(step);
        DWORD got = 0;
        if (!DeviceIoControl(to, kDuplicateExtentsToFile, &data, sizeof data, nullptr, 0, &got,
                             nullptr))
            break;  // the rest goes through memory, over the extended range
        done += step;
    }
    return done;
}

}  // namespace vxa
