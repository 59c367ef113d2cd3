#include "widgets/core/LongPath.h"

#include <gtest/gtest.h>

#include <string>

using namespace tv;

TEST(LongPath, ExtendedOnlyPastTheLimit) {
    const std::wstring folder(300, L'a');
    const std::wstring longName = L"C:\\" + folder + L"\\notes.rtf";
    const std::wstring fits = L"C:\\" + std::wstring(kClassicPathLimit - 4, L'b');  // 259 characters
    struct Case {
        std::wstring in, out;
    } cases[] = {
        {L"C:\\Texts\\notes.rtf", L"C:\\Texts\\notes.rtf"},
        {fits, fits},
        {fits + L"c", L"\\\\?\\" + fits + L"c"},
        {longName, L"\\\\?\\" + longName},
        {L"z:\\" + folder, L"\\\\?\\z:\\" + folder},
        {L"\\\\server\\share\\" + folder, L"\\\\?\\UNC\\server\\share\\" + folder},
        {L"\\\\?\\" + longName, L"\\\\?\\" + longName},          // already extended
        {L"\\\\?\\UNC\\s\\" + folder, L"\\\\?\\UNC\\s\\" + folder},
        {L"\\\\.\\" + folder, L"\\\\.\\" + folder},              // a device path
        {folder + L"\\notes.rtf", folder + L"\\notes.rtf"},       // relative: left to the caller
        {L"C:" + folder, L"C:" + folder},                        // drive-relative
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtendedLengthPath(c.in), c.out) << c.in.size();
}
