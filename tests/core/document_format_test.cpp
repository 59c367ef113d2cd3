#include "text/core/DocumentFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tv;

TEST(DocumentFormat, FormatForFileName) {
    struct Case {
        const wchar_t* name;
        DocFormat format;
    } cases[] = {
        {L"notes.txt", DocFormat::PlainText},
        {L"C:\\Texts\\NOTES.TXT", DocFormat::PlainText},
        {L"x.Txt", DocFormat::PlainText},
        {L".txt", DocFormat::PlainText},
        {L"a.rtf.txt", DocFormat::PlainText},
        {L"notes.rtf", DocFormat::Rtf},
        {L"notes.text", DocFormat::Rtf},
        {L"notes.log", DocFormat::Rtf},
        {L"notes.tx", DocFormat::Rtf},
        {L"notes.txtx", DocFormat::Rtf},
        {L"notes.txt.bak", DocFormat::Rtf},
        {L"notes", DocFormat::Rtf},
        {L"notes.", DocFormat::Rtf},
        {L"", DocFormat::Rtf},
        {L"C:\\a.txt\\notes", DocFormat::Rtf},    // the dot is in a folder name
        {L"/home/a.txt/notes", DocFormat::Rtf},
        {L"C:notes.txt", DocFormat::PlainText},
        {L"tmp\\tolvane.tmp", DocFormat::Rtf},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatForFileName(c.name), c.format) << '"' << c.name << '"';
}

TEST(DocumentFormat, FileExtension) {
    EXPECT_EQ(FileExtension(L"C:\\a.b\\notes.RTF"), L"RTF");
    EXPECT_EQ(FileExtension(L"C:\\a.b\\notes"), L"");
    EXPECT_EQ(FileExtension(L"archive.tar.gz"), L"gz");
    EXPECT_EQ(FileExtension(L"notes."), L"");
    EXPECT_EQ(FileExtension(L"dir/x.txt:stream"), L"");  // ':' separates too
}

TEST(DocumentFormat, OtherFormat) {
    EXPECT_EQ(OtherFormat(DocFormat::Rtf), DocFormat::PlainText);
    EXPECT_EQ(OtherFormat(DocFormat::PlainText), DocFormat::Rtf);
}

TEST(DocumentFormat, SaveAsFileName) {
    struct Case {
        const wchar_t* chosen;
        const wchar_t* written;
    } cases[] = {
        {L"notes", L"notes.rtf"},
        {L"C:\\a.b\\notes", L"C:\\a.b\\notes.rtf"},
        {L"C:/a.b/notes", L"C:/a.b/notes.rtf"},
        {L"x.TXT", L"x.TXT"},
        {L"x.text", L"x.text"},
        {L"C:\\Texts\\chapter1.rtf", L"C:\\Texts\\chapter1.rtf"},
        {L"notes.", L"notes."},  // a dot is an extension, even an empty one
    };
    for (const Case& c : cases) EXPECT_EQ(SaveAsFileName(c.chosen), c.written) << c.chosen;
    // The appended extension makes the name RTF even when it would look like text.
    EXPECT_EQ(FormatForFileName(SaveAsFileName(L"C:\\x.txt\\notes")), DocFormat::Rtf);
}

TEST(DocumentFormat, FilterStrings) {
    EXPECT_EQ(kOpenFilter, L"RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(kSaveAsFilter, L"RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt");
}

TEST(DocumentFormat, DialogFilterForm) {
    const std::wstring f = ToDialogFilter(kSaveAsFilter);
    using namespace std::string_literals;
    const std::wstring want = L"RTF Files (*.rtf)\0*.rtf\0Text Files (*.txt)\0*.txt\0\0"s;
    EXPECT_EQ(f, want);
    EXPECT_EQ(f.find(L'|'), std::wstring::npos);

    // Walk it as the common dialog does: NUL-terminated strings until an empty one.
    const std::wstring open = ToDialogFilter(kOpenFilter);
    std::vector<std::wstring> parts;
    for (const wchar_t* p = open.c_str(); *p; p += parts.back().size() + 1) parts.emplace_back(p);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[0], L"RTF Files (*.rtf)");
    EXPECT_EQ(parts[3], L"*.txt");
    EXPECT_EQ(parts[4], L"All Files (*.*)");
    EXPECT_EQ(parts[5], L"*.*");
}

TEST(DocumentFormat, SaveAsTakesTheFormatOfTheNewNameAndKeepsTheTextsLayout) {
    const DocumentLayout md{DocFormat::PlainText, TextEncoding::Utf8, LineEnd::Lf};
    const DocumentLayout asRtf = LayoutForName(md, L"C:\\notes.rtf");
    EXPECT_EQ(asRtf.format, DocFormat::Rtf);
    const DocumentLayout asTxt = LayoutForName(DocumentLayout{DocFormat::Rtf}, L"C:\\notes.TXT");
    EXPECT_EQ(asTxt.format, DocFormat::PlainText);
    const DocumentLayout again = LayoutForName(md, L"C:\\notes.txt");
    EXPECT_EQ(again.encoding, TextEncoding::Utf8);
    EXPECT_EQ(again.lineEnd, LineEnd::Lf);
}
