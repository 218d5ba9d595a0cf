// What every reader takes besides the bytes, and what it gives back.
#pragma once

#include <functional>
#include <string>

namespace halvorn {

// Title of every reader's failure message box.
inline constexpr const char* kReadFailureTitle = "Cannot open file!";

// The line that follows every reader failure message.
inline constexpr const char* kReadFailureSuffix = "\r\nTry to look in 'File Details'";

// Message used when a read fails without a more specific text.
inline constexpr const char* kSomethingWrong = "Something is wrong here!!";

// Reports reading progress: value of maximum points read so far.
using ProgressCallback = std::function<void(int value, int maximum)>;

struct ReadRequest {
    // The file's name without its folder; empty for the start-up load of the
    // demonstration spectrum.
    std::string fileTitle;
    // Decimal separator of labels and export texts.
    char decimalSeparator = '.';
    // The block of a JCAMP-DX file with several blocks to show, counted from
    // 1; 0 shows the first block that holds an infrared spectrum.
    int block = 0;
    ProgressCallback progress;
};

// The spectrum window's caption for a file title; the start-up load passes an
// empty title and gets "Demo.sp". Ordinates that were scaled into 0..100 %T
// from another unit add " (scaled)".
inline std::string SpectrumCaption(const std::string& fileTitle, bool scaled = false) {
    return "Infrared Spectrum: File - (" +
           (fileTitle.empty() ? std::string("Demo.sp") : fileTitle) + ")" +
           (scaled ? " (scaled)" : "");
}

struct [[nodiscard]] ReadOutcome {
    bool ok = true;
    // The full text of the message box (line ends CR LF), empty when the read
    // succeeded or failed without a message.
    std::string message;

    static ReadOutcome Success() { return {}; }
    // A failure with the given first part; an empty first part becomes
    // "Something is wrong here!!". The fixed second part is appended.
    static ReadOutcome Failure(std::string firstPart) {
        if (firstPart.empty()) {
            firstPart = kSomethingWrong;
        }
        return {false, firstPart + kReadFailureSuffix};
    }
};

}  // namespace halvorn
