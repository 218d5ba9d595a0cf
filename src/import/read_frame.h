// What every reader does around its own work: the start of a read, the failure
// path, and reading the file into memory.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The most memory kept from reading one file for the next.
inline constexpr std::size_t kKeptReadRoom = 4 * 1048576;

// Header lines are kept for the header list up to this many bytes each.
inline constexpr std::size_t kMaxKeptHeaderLine = 65536;

inline std::string KeptHeaderLine(std::string_view line) {
    return std::string(line.substr(0, kMaxKeptHeaderLine));
}

// Fills a list of header lines anew while keeping the room of the strings
// it held: the lines given replace the old ones in order, and the list ends
// after the last line given when the filler goes, also when a read fails.
class HeaderListFiller {
  public:
    explicit HeaderListFiller(std::vector<std::string>& list) : list_(list) {}
    HeaderListFiller(const HeaderListFiller&) = delete;
    HeaderListFiller& operator=(const HeaderListFiller&) = delete;
    ~HeaderListFiller() { list_.resize(count_); }

    void Add(std::string_view line) {
        line = line.substr(0, kMaxKeptHeaderLine);
        if (count_ < list_.size()) {
            list_[count_].assign(line);
        } else {
            list_.emplace_back(line);
        }
        ++count_;
    }

    std::size_t Count() const { return count_; }

  private:
    std::vector<std::string>& list_;
    std::size_t count_ = 0;
};

// Gives the record room for points 1..n, which the reader then writes all
// of; point 0 is zero. A read that fails on the way clears them.
inline void SizePoints(Spectrum& s, std::int32_t n) {
    s.PointCount = n;
    s.StepCount = ToInteger(static_cast<double>(n) - 1.0);
    s.RawY.resize(static_cast<std::size_t>(n) + 1);
    s.WaveX.resize(static_cast<std::size_t>(n) + 1);
    s.RawY[0] = 0;
    s.WaveX[0] = 0.0f;
}

// How the interval line shows the step: as it is, or rounded to three
// decimals (the two-column tables, whose step is a difference of two Singles).
enum class IntervalForm { AsIs, ThreeDecimals };

// The end of every read that placed its points: the points are held with the
// largest wavenumber first, and the interval and first-point lines describe
// them.
inline void EndRead(Spectrum& s, char separator, IntervalForm form) {
    PutLargestWavenumberFirst(s);
    if (form == IntervalForm::AsIs) {
        s.IntervalLabel = "points: " + DoubleText(s.DeltaX, separator) + " cm^(-1)";
        s.FirstPointLabel = "First point: " + DoubleText(s.FirstX, separator) + " cm^(-1)";
    } else {
        s.IntervalLabel =
            "points: " + DoubleText(std::nearbyint(s.DeltaX * 1000.0) / 1000.0, separator) +
            " cm^(-1)";
        s.FirstPointLabel = "First point: " + SingleText(s.WaveX[1], separator) + " cm^(-1)";
    }
}

// The message for a file longer than any spectrum of at most kMaxPoints points
// in its format can be.
inline std::string TooLargeMessage(std::uintmax_t size, std::uintmax_t maxBytes) {
    return "This file is " + IntegerText(static_cast<std::int64_t>(size)) +
           " bytes long;\r\na spectrum of at most " + IntegerText(kMaxPoints) +
           " points in this format\r\ntakes at most " +
           IntegerText(static_cast<std::int64_t>(maxBytes)) + " bytes.";
}

// Reads the file at path, unless it is longer than maxBytes, and hands its
// bytes to readBytes; a file that cannot be opened or read fails with
// missingMessage, a longer one with the size and the limit, after the
// reader's own start of a read (begin), which comes before the file is opened.
template <typename Begin, typename ReadBytes>
ReadOutcome ReadWholeFile(const std::string& path, const ReadRequest& request, Spectrum& s,
                          std::uintmax_t maxBytes, std::string_view missingMessage, Begin&& begin,
                          ReadBytes&& readBytes) {
    // The memory of the bytes is kept for the next file unless it is large:
    // fresh pages for every file cost more than reading it.
    thread_local std::string room;
    LimitedFileBytes file = ReadFileBytesUpTo(path, maxBytes, std::move(room));
    const auto keepRoom = [&] {
        if (file.bytes.capacity() <= kKeptReadRoom) {
            room = std::move(file.bytes);
        }
    };
    if (file.status == LimitedFileBytes::Status::Read) {
        ReadOutcome outcome = std::forward<ReadBytes>(readBytes)(file.bytes, request, s);
        keepRoom();
        return outcome;
    }
    keepRoom();
    std::forward<Begin>(begin)(request, s);
    if (file.status == LimitedFileBytes::Status::TooLarge) {
        return FailedRead(s, TooLargeMessage(file.size, maxBytes));
    }
    return FailedRead(s, std::string(missingMessage));
}

}  // namespace halvorn
