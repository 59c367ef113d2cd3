#include "text/core/RtfContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace tv;

TEST(RtfContent, FindsThePartsTheEditorDrops) {
    struct Case {
        const char* rtf;
        unsigned parts;
    } cases[] = {
        {"{\\rtf1 plain {\\b bold}\\par}", 0},
        {"{\\rtf1 a{\\footnote \\pard b}\\par}", kRtfFootnotes},
        {"{\\rtf1 a{\\footnote\\ftnalt \\pard b}\\par}", kRtfEndnotes},
        {"{\\rtf1 a{\\footnote \\ftnalt\\pard b}{\\footnote c}\\par}", kRtfEndnotes | kRtfFootnotes},
        {"{\\rtf1 a{\\*\\footnote\\chftn b}}", kRtfFootnotes},  // a writer that marks it optional
        {"{\\rtf1 a{\\*\\atnid J}\\chatn{\\*\\annotation b}}", kRtfComments},
        {"{\\rtf1{\\header h}{\\footerf f} body}", kRtfHeadersFooters},
        {"{\\rtf1{\\headerl h}{\\footerr f} body}", kRtfHeadersFooters},
        {"{\\rtf1\r\n{\r\n\\footnote x}}", kRtfFootnotes},  // line breaks are no text
        // A link is a field the control keeps; any other field it drops.
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt here}}}", 0},
        {"{\\rtf1 {\\field{\\*\\fldinst {\\f0 hyperlink \"http://x\"}}{\\fldrslt here}}}", 0},
        {"{\\rtf1 {\\field{\\*\\fldinst DATE \\\\@ \"yyyy\"}{\\fldrslt 2020}}}", kRtfFields},
        {"{\\rtf1 {\\field{\\*\\fldinst  PAGE }{\\fldrslt 1}}}", kRtfFields},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINKS}{\\fldrslt x}}}", kRtfFields},
        {"{\\rtf1 {\\field{\\*\\fldinst}{\\fldrslt x}}}", kRtfFields},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPER", kRtfFields},  // cut short
        {"{\\rtf1 {\\*\\fldinst PAGE}}", 0},                  // no field around it
        {"{\\rtf1 {\\shp{\\*\\shpinst{\\shptxt box}}} {\\do\\dobxpage}}", kRtfDrawings},
        // The same words where no destination opens are none.
        {"{\\rtf1 \\footnote x}", 0},
        {"{\\rtf1 {\\b\\footnote x}}", 0},
        {"{\\rtf1 \\{\\footnote x\\}}", 0},
        {"{\\rtf1 {\\footnotes x}{\\headery y}}", 0},
        {"{\\rtf1 {\\ftnalt x}}", 0},
        // Binary data may hold anything, and is no RTF.
        {"{\\rtf1 {\\pict\\bin12 {\\footnote }}", 0},
        {"{\\rtf1 {\\pict\\bin2 xx}{\\header h}}", kRtfHeadersFooters},
    };
    for (const Case& c : cases) EXPECT_EQ(RtfLostParts(c.rtf), c.parts) << c.rtf;
}

TEST(RtfContent, AWordProcessorsChapterWithAFootnote) {
    std::ifstream f(TOLVANE_FIXTURES "/footnote.rtf", std::ios::binary);
    ASSERT_TRUE(f);
    const std::string rtf((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(RtfLostParts(rtf), kRtfFootnotes | kRtfComments | kRtfHeadersFooters);
}

TEST(RtfContent, HostileInputEndsInLinearTime) {
    // Deep nesting, unbalanced braces, truncated words and huge counts: one
    // pass, no recursion, nothing read past the end.
    const std::string deep = std::string(2000000, '{') + "\\footnote x" + std::string(10, '}');
    EXPECT_EQ(RtfLostParts(deep), kRtfFootnotes);
    EXPECT_EQ(RtfLostParts(std::string(1000000, '}') + "{\\header"), kRtfHeadersFooters);
    const char* cut[] = {"{\\", "{\\footnote", "{\\'", "{\\'4", "{\\bin", "{\\bin99999999999999999999 x",
                         "{\\bin-5 {\\header x}", "{\\x-", "\\", ""};
    for (const char* c : cut) RtfLostParts(c);
    EXPECT_EQ(RtfLostParts("{\\bin-5 {\\header x}"), kRtfHeadersFooters);
    EXPECT_EQ(RtfLostParts("{\\" + std::string(100000, 'a') + " {\\footnote}"), kRtfFootnotes);
    std::string noise;
    for (int i = 0; i < 300000; ++i) noise += static_cast<char>("{}\\*'ab0- \r"[i * 7 % 11]);
    RtfLostParts(noise);
}

TEST(RtfContent, OriginalCopyName) {
    struct Case {
        const wchar_t* name;
        int n;
        const wchar_t* copy;
    } cases[] = {
        {L"C:\\Books\\chapter.rtf", 1, L"C:\\Books\\chapter.original.rtf"},
        {L"C:\\Books\\chapter.rtf", 2, L"C:\\Books\\chapter.original-2.rtf"},
        {L"C:\\Books\\README", 1, L"C:\\Books\\README.original"},
        {L"C:\\v1.0\\notes", 1, L"C:\\v1.0\\notes.original"},  // the dot is in a folder
        {L"C:\\Books\\.rtf", 1, L"C:\\Books\\.rtf.original"},
        {L"a.b.rtf", 1, L"a.b.original.rtf"},
    };
    for (const Case& c : cases) EXPECT_EQ(OriginalCopyName(c.name, c.n), c.copy) << c.name;
}

TEST(RtfContent, FillIn) {
    EXPECT_EQ(FillIn(L"a %s b %s c", {L"1", L"2"}), L"a 1 b 2 c");
    EXPECT_EQ(FillIn(L"%s%s%s", {L"x"}), L"x%s%s");
    EXPECT_EQ(FillIn(L"100% %s", {L"%s"}), L"100% %s");
}
