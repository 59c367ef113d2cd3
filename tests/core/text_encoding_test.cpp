#include "text/core/TextEncoding.h"

#include "../support/Latin1CodePage.h"

#include <gtest/gtest.h>

#include <string>

using namespace tv;

namespace {

using tv::test::Latin1;

const char* name(TextEncoding e) {
    switch (e) {
    case TextEncoding::Ansi: return "Ansi";
    case TextEncoding::Utf8: return "Utf8";
    case TextEncoding::Utf8Bom: return "Utf8Bom";
    case TextEncoding::Utf16LeBom: return "Utf16LeBom";
    }
    return "?";
}

}  // namespace

TEST(TextEncoding, DetectsTheEncodingAFileWasWrittenIn) {
    struct Case {
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {"", TextEncoding::Ansi},
        {"plain ascii\r\n", TextEncoding::Ansi},
        {"A\xF1o caf\xE9\r\n", TextEncoding::Ansi},                   // cp1252 bytes: not UTF-8
        {"Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5", TextEncoding::Utf8},  // valid UTF-8, no mark
        {"\xF0\x9F\x98\x80", TextEncoding::Utf8},                     // four-byte sequence
        {"\xEF\xBB\xBF", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBFplain", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBF\xE9", TextEncoding::Ansi},     // a mark over bytes that are no UTF-8: kept as bytes
        {std::string("\xFF\xFE" "A\0", 4), TextEncoding::Utf16LeBom},
        {"\xFF\xFE", TextEncoding::Utf16LeBom},
        {std::string("\xFF\xFE" "A", 3), TextEncoding::Ansi},  // odd length: not UTF-16
        {"\xC0\xAF", TextEncoding::Ansi},                      // overlong '/'
        {"\xED\xA0\x80", TextEncoding::Ansi},                  // a surrogate in UTF-8
        {"\xF4\x90\x80\x80", TextEncoding::Ansi},              // above U+10FFFF
        {"caf\xC3", TextEncoding::Ansi},                       // cut sequence at the end
        {"\xC3\x28", TextEncoding::Ansi},                      // lead byte without continuation
    };
    for (const Case& c : cases)
        EXPECT_EQ(name(DetectTextEncoding(c.bytes)), std::string(name(c.expected)))
            << "bytes of length " << c.bytes.size();
}

TEST(TextEncoding, UnicodeFilesRoundTripByteForByte) {
    Latin1 ansi;
    const std::string files[] = {
        "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE2\x80\x9Cquotes\xE2\x80\x9D \xE6\x97\xA5\xE6\x9C\xAC\r\n",
        "\xEF\xBB\xBFonly ascii\r\n",
        "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80\r\n",
        std::string("\xFF\xFE" "A\0\xE5\x65\x3D\xD8\x00\xDE\r\0\n\0", 14),  // A, U+65E5, U+1F600 pair, CR LF
        std::string("\xFF\xFE\x00\xD8" "B\0", 6),                            // an unpaired surrogate stays as it was
    };
    for (const std::string& file : files) {
        const TextEncoding e = DetectTextEncoding(file);
        ASSERT_NE(e, TextEncoding::Ansi);
        const std::u16string text = DecodeUnicodeText(file, e);
        const EncodedText back = EncodePlainText(text, e, ansi);
        EXPECT_EQ(back.bytes, file);
        EXPECT_EQ(back.encoding, e);
    }
}

// Found by the fuzzer: a UTF-8 mark over a broken sequence. Read as UTF-8, the
// broken bytes became U+FFFD and a save wrote other bytes than the file held.
TEST(TextEncoding, AMarkedFileWithBytesThatAreNoUtf8IsWrittenBackAsItWasRead) {
    Latin1 ansi;
    const std::string file = "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE2\x80\x9Cquotes\xE2W\x80\x9D\r\nSlindeoc ne\r\n";
    const TextEncoding e = DetectTextEncoding(file);
    ASSERT_EQ(name(e), std::string("Ansi"));
    std::u16string text;  // as the code page reads it: one character a byte
    for (unsigned char c : file) text.push_back(c);
    const EncodedText back = EncodePlainText(text, e, ansi);
    EXPECT_EQ(back.bytes, file);
    EXPECT_EQ(name(back.encoding), std::string("Ansi"));
}

TEST(TextEncoding, DecodingLeavesTheMarkOut) {
    EXPECT_EQ(DecodeUnicodeText("\xEF\xBB\xBF\xC3\xA9", TextEncoding::Utf8Bom), u"\u00e9");
    EXPECT_EQ(DecodeUnicodeText(std::string("\xFF\xFE\xE9\0", 4), TextEncoding::Utf16LeBom), u"\u00e9");
    EXPECT_EQ(DecodeUnicodeText("\xC3\xA9", TextEncoding::Utf8), u"\u00e9");
    EXPECT_EQ(DecodeUnicodeText("\xF0\x9F\x98\x80", TextEncoding::Utf8), u"\U0001F600");
}

TEST(TextEncoding, AnsiOrNewDocumentsStayAnsiUnlessACharacterDoesNotFit) {
    Latin1 ansi;
    struct Case {
        std::u16string text;
        std::string bytes;
        TextEncoding written;
    } cases[] = {
        {u"", "", TextEncoding::Ansi},
        {u"caf\u00e9\r\n", "caf\xE9\r\n", TextEncoding::Ansi},
        {u"\u65e5", "\xEF\xBB\xBF\xE6\x97\xA5", TextEncoding::Utf8Bom},
        {u"caf\u00e9 \u2013", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x80\x93", TextEncoding::Utf8Bom},
    };
    for (const Case& c : cases) {
        const EncodedText out = EncodePlainText(c.text, TextEncoding::Ansi, ansi);
        EXPECT_EQ(out.bytes, c.bytes);
        EXPECT_EQ(name(out.encoding), std::string(name(c.written)));
    }
}

TEST(TextEncoding, UnicodeDocumentsKeepTheirEncodingWhateverTheText) {
    Latin1 ansi;
    EXPECT_EQ(EncodePlainText(u"ab", TextEncoding::Utf8, ansi).bytes, "ab");
    EXPECT_EQ(EncodePlainText(u"ab", TextEncoding::Utf8Bom, ansi).bytes, "\xEF\xBB\xBF" "ab");
    EXPECT_EQ(EncodePlainText(u"ab", TextEncoding::Utf16LeBom, ansi).bytes, std::string("\xFF\xFE" "a\0b\0", 6));
    EXPECT_EQ(EncodePlainText(u"", TextEncoding::Utf16LeBom, ansi).bytes, "\xFF\xFE");
}

TEST(TextEncoding, Utf8OfAnUnpairedSurrogateIsTheReplacementCharacter) {
    EXPECT_EQ(Utf8FromUtf16(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(Utf8FromUtf16(u"\xDC00"), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextEncoding, RtfEndsAtItsClosingBrace) {
    EXPECT_EQ(RtfFileBytes(std::string("{\\rtf1 x}\0", 10)), "{\\rtf1 x}");
    EXPECT_EQ(RtfFileBytes(std::string("{\\rtf1 x}\r\n\0\0", 13)), "{\\rtf1 x}\r\n");
    EXPECT_EQ(RtfFileBytes("{\\rtf1 x}"), "{\\rtf1 x}");
    EXPECT_EQ(RtfFileBytes(""), "");
}

TEST(TextEncoding, DetectsTheLineEndAFileUses) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        LineEnd lineEnd;
    } cases[] = {
        {"one\r\ntwo\r\n", TextEncoding::Ansi, LineEnd::CrLf},
        {"one\ntwo\n", TextEncoding::Ansi, LineEnd::Lf},
        {"one\rtwo\r", TextEncoding::Ansi, LineEnd::Cr},
        {"one\ntwo\r\n", TextEncoding::Ansi, LineEnd::Lf},  // mixed: the first
        {"one\r", TextEncoding::Ansi, LineEnd::Cr},        // a CR at the very end
        {"no line end", TextEncoding::Ansi, LineEnd::CrLf},
        {"", TextEncoding::Utf8, LineEnd::CrLf},
        {"\xEF\xBB\xBF" "caf\xC3\xA9\n", TextEncoding::Utf8Bom, LineEnd::Lf},
        {std::string("\xFF\xFE" "a\0\n\0", 6), TextEncoding::Utf16LeBom, LineEnd::Lf},
        {std::string("\xFF\xFE" "a\0\r\0\n\0", 8), TextEncoding::Utf16LeBom, LineEnd::CrLf},
        // U+0A0D holds the bytes of LF and CR, and is no line end.
        {std::string("\xFF\xFE\x0D\x0A\r\0\n\0", 8), TextEncoding::Utf16LeBom, LineEnd::CrLf},
    };
    for (const Case& c : cases) EXPECT_EQ(DetectLineEnd(c.bytes, c.encoding), c.lineEnd) << c.bytes;
}

TEST(TextEncoding, TheEditorsParagraphEndsBecomeTheFilesLineEnds) {
    const std::u16string editor = u"one\r\ntwo\r\n\r\nthree";
    EXPECT_EQ(WithLineEnds(editor, LineEnd::CrLf), editor);
    EXPECT_EQ(WithLineEnds(editor, LineEnd::Lf), u"one\ntwo\n\nthree");
    EXPECT_EQ(WithLineEnds(editor, LineEnd::Cr), u"one\rtwo\r\rthree");
    EXPECT_EQ(WithLineEnds(u"a\rb\nc", LineEnd::Lf), u"a\nb\nc");  // a lone LF stays as it is
    EXPECT_EQ(WithLineEnds(u"", LineEnd::Lf), u"");
}
