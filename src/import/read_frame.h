// What every reader does around its own work: the start of a read, the failure
// path, and reading the file into memory.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/numbers.h"
#include "core/record.h"
#include "import/file_bytes.h"
#include "import/read_outcome.h"

namespace halvorn {

// Ends a read with the given first part of the message ("" gives "Something is
// wrong here!!").
struct ReadFailure {
    std::string firstPart;
};

[[noreturn]] inline void Fail(std::string firstPart) {
    throw ReadFailure{std::move(firstPart)};
}

// The start of every read: the record is being replaced, the next redraw
// searches peaks and lays out labels again.
inline void BeginRead(const ReadRequest& request, Spectrum& s) {
    s.Loading = true;
    s.OpenFailed = false;
    s.NeedPeakSearch = true;
    s.RelayoutLabels = true;
    s.Caption = SpectrumCaption(request.fileTitle);
}

// A failed read leaves an empty record, so that arrays, counts, range and
// export texts never disagree.
inline ReadOutcome FailedRead(Spectrum& s, std::string firstPart) {
    s.OpenFailed = true;
    ClearPoints(s);
    return ReadOutcome::Failure(std::move(firstPart));
}

// Runs a reader's work; a ReadFailure, or an arithmetic fault (reported with
// faultMessage), ends the read on the failure path.
template <typename Work>
ReadOutcome GuardedRead(Spectrum& s, std::string_view faultMessage, Work&& work) {
    try {
        std::forward<Work>(work)();
        return ReadOutcome::Success();
    } catch (const ReadFailure& failure) {
        return FailedRead(s, failure.firstPart);
    } catch (const ArithmeticFault&) {
        return FailedRead(s, std::string(faultMessage));
    }
}

// Reads the file at path and hands its bytes to readBytes; a file that cannot
// be opened or read fails with missingMessage, after the reader's own start of
// a read (begin), which comes before the file is opened.
template <typename Begin, typename ReadBytes>
ReadOutcome ReadWholeFile(const std::string& path, const ReadRequest& request, Spectrum& s,
                          std::string_view missingMessage, Begin&& begin, ReadBytes&& readBytes) {
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        std::forward<Begin>(begin)(request, s);
        return FailedRead(s, std::string(missingMessage));
    }
    return std::forward<ReadBytes>(readBytes)(*bytes, request, s);
}

}  // namespace halvorn
