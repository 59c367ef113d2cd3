#pragma once
// The rules of the recovery copy: which slot a run writes its copy to, where
// the previous run's copy is kept aside and which kept copies go, what the
// run marker holds, whether a kept copy is worth offering, and how often a
// failing autosave is reported. Portable; the files are the Win32 side's.
#include "text/core/DocumentFormat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv::recovery {

// How many copies kept aside from earlier runs stay beside the autosave copy.
inline constexpr std::size_t kKeptCopies = 5;

// The copy a run writes when it holds slot `slot`: slot 1 is the configured
// name itself; a run started while another holds that slot takes the next
// free one, "-2", "-3"... before the extension, so two runs never write over
// each other's copy.
std::wstring SlotCopyName(std::wstring_view copy, int slot);

// The marker beside a slot's copy: there while a run holds the slot, removed
// when the run ends through its close handler. Found at start-up, it tells of
// an end that did not come that way.
std::wstring MarkerName(std::wstring_view copy);

// Local time of a kept copy, to the second.
struct Stamp {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "<folder><stem>.kept-YYYYMMDD-HHMMSS<ext>", "-N" after the time from serial 2
// on (two copies kept in the same second). The extension stays, so a kept
// copy is read in the format of the copy.
std::wstring KeptName(std::wstring_view copy, const Stamp& when, int serial = 1);
// The pattern of a copy's kept names, for a folder listing.
std::wstring KeptPattern(std::wstring_view copy);
// Order of a kept file's name (the name alone, no folder) among the copy's
// kept names; nothing when it is not one of them.
std::optional<std::wstring> KeptOrder(std::wstring_view fileName, std::wstring_view copy);
// Of the names (no folder) in the copy's folder: the kept copies that go so
// that the newest `keep` stay, oldest first. Other names are never listed.
std::vector<std::wstring> KeptToDrop(const std::vector<std::wstring>& names, std::wstring_view copy,
                                     std::size_t keep = kKeptCopies);

// Whether a copy's bytes hold any text at all (an empty document's copy is not
// worth keeping). RTF: any character outside the control words and the
// destinations (font and colour tables, generator and the like); plain text:
// anything but white space and a byte-order mark.
bool HoldsText(std::string_view bytes, DocFormat format);

// The run marker: UTF-16 LE, "TVRUN1\n", the document's name (empty while
// unnamed) and "\n"; after a crash "TEXT\n" and the editor's text follow.
inline constexpr std::u16string_view kMarkerMagic = u"TVRUN1\n";
inline constexpr std::u16string_view kMarkerTextTag = u"TEXT\n";
struct Marker {
    std::u16string documentName;
    std::optional<std::u16string> crashText;  // the editor's text, written as the program crashed
};
std::string EncodeMarker(std::u16string_view documentName);
// Nothing when the bytes are no marker (then the end is unclean all the same,
// but nothing is known of the document).
std::optional<Marker> DecodeMarker(std::string_view bytes);

// A kept text is offered after an unclean end when it holds something and
// differs from the document's own file (nothing: unnamed, or the file cannot
// be read). Line ends and the trailing paragraph marks do not count.
bool ShouldOffer(bool uncleanEnd, std::u16string_view kept, const std::optional<std::u16string>& document);

// The offer's text: the first "%s" of the translated text becomes `when`.
std::wstring OfferText(std::wstring_view translated, std::wstring_view when);

// A failing autosave is reported once; after a success a new failure is
// reported again.
class FailureReports {
public:
    // True when this failure is to be reported.
    bool failed() {
        const bool report = !reported_;
        reported_ = true;
        return report;
    }
    void succeeded() { reported_ = false; }

private:
    bool reported_ = false;
};

}  // namespace tv::recovery
