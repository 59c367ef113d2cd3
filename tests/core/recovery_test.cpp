#include "text/core/Recovery.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace tv;
using namespace tv::recovery;

TEST(Recovery, SlotsNeverShareACopyOrAMarker) {
    const std::wstring copy = L"C:\\Tolvane\\tmp\\tolvane.tmp";
    EXPECT_EQ(SlotCopyName(copy, 1), copy);  // the first run keeps the configured name
    EXPECT_EQ(SlotCopyName(copy, 2), L"C:\\Tolvane\\tmp\\tolvane-2.tmp");
    EXPECT_EQ(SlotCopyName(L"C:\\a.b\\copy", 3), L"C:\\a.b\\copy-3");  // the dot of a folder is no extension
    EXPECT_EQ(MarkerName(SlotCopyName(copy, 2)), L"C:\\Tolvane\\tmp\\tolvane-2.tmp.run");
    std::vector<std::wstring> all;
    for (int slot = 1; slot <= 4; ++slot) {
        all.push_back(SlotCopyName(copy, slot));
        all.push_back(MarkerName(SlotCopyName(copy, slot)));
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    // A slot's kept copies are never taken for another slot's.
    EXPECT_FALSE(KeptOrder(L"tolvane-2.kept-20261211-130501.tmp", copy));
    EXPECT_TRUE(KeptOrder(L"tolvane-2.kept-20261211-130501.tmp", SlotCopyName(copy, 2)));
}

TEST(Recovery, KeptNamesCarryTheTimeAndTheCopysExtension) {
    const Stamp t{2026, 12, 1, 9, 5, 7};
    EXPECT_EQ(KeptName(L"C:\\T\\tmp\\tolvane.tmp", t), L"C:\\T\\tmp\\tolvane.kept-20261201-090507.tmp");
    EXPECT_EQ(KeptName(L"C:\\T\\copy.txt", t, 2), L"C:\\T\\copy.kept-20261201-090507-2.txt");
    EXPECT_EQ(KeptPattern(L"C:\\T\\tmp\\tolvane.tmp"), L"C:\\T\\tmp\\tolvane.kept-*.tmp");
}

TEST(Recovery, OnlyTheOldestKeptCopiesBeyondFiveAreDropped) {
    const std::wstring copy = L"C:\\T\\tmp\\tolvane.tmp";
    std::vector<std::wstring> names = {
        L"tolvane.kept-20261211-130501.tmp",
        L"tolvane.kept-20251211-130501.tmp",    // a year older
        L"tolvane.kept-20261211-130501-2.tmp",  // same second, kept later
        L"tolvane.kept-20261211-130501-10.tmp",
        L"TOLVANE.KEPT-20261210-235959.TMP",    // names compare without case
        L"tolvane.kept-20261211-090000.tmp",
        L"tolvane.tmp",                          // the copy itself
        L"tolvane.tmp.run",                      // the marker
        L"tolvane.kept-2026121-130501.tmp",      // not a kept name: short date
        L"tolvane.kept-20261211-130501.txt",     // another extension
        L"notes.kept-20201211-130501.tmp",       // another stem
        L"tolvane.kept-20261211-130501-x.tmp",
    };
    std::vector<std::wstring> drop = KeptToDrop(names, copy);
    EXPECT_EQ(drop, (std::vector<std::wstring>{L"tolvane.kept-20251211-130501.tmp"}));
    drop = KeptToDrop(names, copy, 2);
    EXPECT_EQ(drop, (std::vector<std::wstring>{L"tolvane.kept-20251211-130501.tmp", L"TOLVANE.KEPT-20261210-235959.TMP",
                                               L"tolvane.kept-20261211-090000.tmp",
                                               L"tolvane.kept-20261211-130501.tmp"}));
    EXPECT_TRUE(KeptToDrop({L"tolvane.kept-20261211-130501.tmp"}, copy).empty());
}

TEST(Recovery, HoldsTextSeesTextButNotTablesOrControlWords) {
    struct Case {
        const char* bytes;
        DocFormat format;
        bool text;
    } cases[] = {
        // Empty documents as the rich edit controls write them.
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n"
         "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\f0\\fs20\\par\r\n}\r\n",
         DocFormat::Rtf, false},
        {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}}\r\n{\\colortbl;\\red0\\green0\\blue0;}\r\n"
         "\\viewkind4\\uc1\\pard\\f0\\fs20\\par\r\n}",
         DocFormat::Rtf, false},
        {"{\\rtf1{\\fonttbl{\\f0 Tahoma;}}\\pard\\tab \\par\\par}", DocFormat::Rtf, false},
        {"{\\rtf1{\\*\\unknown hidden words}\\par}", DocFormat::Rtf, false},
        {"{\\rtf1{\\info{\\title A title}{\\author Me}}\\par}", DocFormat::Rtf, false},
        {"{\\rtf1{\\pict\\bin4 abcd}\\par}", DocFormat::Rtf, false},
        // Text in its forms.
        {"{\\rtf1{\\fonttbl{\\f0 Tahoma;}}\\pard\\f0\\fs20 kept safe\\par}", DocFormat::Rtf, true},
        {"{\\rtf1\\pard\\'e9\\par}", DocFormat::Rtf, true},
        {"{\\rtf1\\uc1\\pard\\u8212?\\par}", DocFormat::Rtf, true},
        {"{\\rtf1\\pard{\\b bold}\\par}", DocFormat::Rtf, true},
        {"{\\rtf1\\pard\\\\\\par}", DocFormat::Rtf, true},
        // A copy that is no RTF (a crash's plain text) is judged as plain text.
        {"\xFF\xFEk\0", DocFormat::Rtf, true},
        {"words", DocFormat::PlainText, true},
        {" \r\n\t", DocFormat::PlainText, false},
        {"\xEF\xBB\xBF\r\n", DocFormat::PlainText, false},
        {"", DocFormat::PlainText, false},
    };
    for (const Case& c : cases) {
        const std::string bytes(c.bytes, c.bytes[0] == '\xFF' ? 4 : std::char_traits<char>::length(c.bytes));
        EXPECT_EQ(HoldsText(bytes, c.format), c.text) << c.bytes;
    }
}

TEST(Recovery, MarkerRoundTripsTheNameAndACrashText) {
    const std::u16string name = u"C:\\Texte\\Gr\u00fc\u00dfe \u65e5\u672c.rtf";
    std::string bytes = EncodeMarker(name);
    auto m = DecodeMarker(bytes);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->documentName, name);
    EXPECT_FALSE(m->crashText);

    // What the crash handler appends to the marker.
    const std::u16string text = u"line one\rline \u20ac two\r";
    for (char16_t c : std::u16string(kMarkerTextTag) + text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    m = DecodeMarker(bytes);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->documentName, name);
    ASSERT_TRUE(m->crashText);
    EXPECT_EQ(*m->crashText, text);

    auto unnamed = DecodeMarker(EncodeMarker(u""));
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(unnamed->documentName, u"");
    EXPECT_FALSE(DecodeMarker(""));
    EXPECT_FALSE(DecodeMarker("TVRUN1\n"));  // not UTF-16
    EXPECT_FALSE(DecodeMarker(bytes.substr(0, 8)));  // cut before the name's end
}

TEST(Recovery, OfferOnlyAfterAnUncleanEndAndOnlyForTextTheDocumentLacks) {
    using Doc = std::optional<std::u16string>;
    struct Case {
        bool unclean;
        const char16_t* kept;
        Doc document;
        bool offer;
    } cases[] = {
        {false, u"typed words", std::nullopt, false},      // a clean end offers nothing
        {true, u"typed words", std::nullopt, true},        // unnamed: any text
        {true, u"", std::nullopt, false},
        {true, u" \r\r\n", std::nullopt, false},
        {true, u"typed words\r", Doc(u"typed words"), false},   // the file holds it already
        {true, u"one\r\ntwo", Doc(u"one\rtwo\r"), false},       // line ends do not count
        {true, u"one\ntwo", Doc(u"one\rtwo"), false},
        {true, u"typed words more", Doc(u"typed words"), true},
        {true, u"Typed words", Doc(u"typed words"), true},       // case counts
        {true, u"words", Doc(u""), true},
        {true, u"", Doc(u"the document"), false},                // an emptied editor is no text to offer
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldOffer(c.unclean, c.kept, c.document), c.offer)
            << c.unclean << " " << std::string(c.kept, c.kept + std::char_traits<char16_t>::length(c.kept)).size();
}

TEST(Recovery, OfferTextPutsTheTimeInPlace) {
    EXPECT_EQ(OfferText(L"Tolvane did not close normally. Open the text it kept on %s?", L"11/12/2026 13:05:01"),
              L"Tolvane did not close normally. Open the text it kept on 11/12/2026 13:05:01?");
    EXPECT_EQ(OfferText(L"Abrir el texto del %s", L"x"), L"Abrir el texto del x");
    EXPECT_EQ(OfferText(L"no place", L"x"), L"no place");
}

TEST(Recovery, AFailingAutosaveIsReportedOnceUntilASuccess) {
    FailureReports r;
    // Each step: true a failure, false a success; then whether a box shows.
    const std::vector<std::pair<bool, bool>> steps = {
        {true, true}, {true, false}, {true, false}, {false, false}, {true, true}, {false, false}, {false, false},
        {true, true}, {true, false},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].first)
            EXPECT_EQ(r.failed(), steps[i].second) << "step " << i;
        else
            r.succeeded();
    }
}
