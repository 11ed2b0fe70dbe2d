#include "core/TextCoding.h"
#include "core/CoreErrors.h"
#include "core/Cp932.h"
#include "core/Utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// CP932 bytes of a few names, as a Japanese spreadsheet saves them.
const std::string Kitsuen = "\x8B\x69\x89\x8C"; // 喫煙: not valid UTF-8
const std::string HalfWidthTeA = "\xC3\xB1"; // ﾃｱ: also the UTF-8 of "ñ"

std::string decodeError(const std::string &bytes)
{
    try {
        DecodeTextFile(bytes);
    } catch (const InputError &error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace

TEST(Cp932Codec, EncodesJapaneseAndTheNecAndIbmExtensions)
{
    Cp932Codec codec;
    EXPECT_EQ(codec.encode("喫煙"), Kitsuen);
    EXPECT_EQ(codec.encode("①"), "\x87\x40");
    EXPECT_EQ(codec.encode("髙"), "\xFB\xFC");
    EXPECT_EQ(codec.encode("～－"), "\x81\x60\x81\x7C");
    EXPECT_EQ(codec.encode("C:\\data~1"), "C:\\data~1"); // backslash stays a backslash
    EXPECT_EQ(codec.encode(""), "");
}

TEST(Cp932Codec, RefusesWhatDoesNotComeBackTheSame)
{
    Cp932Codec codec;
    EXPECT_EQ(codec.encode("😀"), std::nullopt);
    EXPECT_EQ(codec.encode("𠮷野家"), std::nullopt);
    // iconv maps these without complaint, but to other characters.
    EXPECT_EQ(codec.encode("¥100"), std::nullopt);
    EXPECT_EQ(codec.encode("〜"), std::nullopt);
    EXPECT_EQ(codec.encode("—"), std::nullopt);
    EXPECT_EQ(codec.encode("\xE3\x81"), std::nullopt); // truncated UTF-8
}

TEST(Cp932Codec, DecodesStrictlyAndKeepsAsciiAsItIs)
{
    Cp932Codec codec;
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(codec.decode(ascii), ascii);
    EXPECT_EQ(codec.decode("\x87\x40\xFB\xFC\x5C"), "①髙\\");
    std::size_t offset = 99;
    EXPECT_EQ(codec.decode("ab\x80", &offset), std::nullopt);
    EXPECT_EQ(offset, 2u);
    EXPECT_EQ(codec.decode("a\x8B", &offset), std::nullopt); // lead byte without trail
}

TEST(Utf, ValidatesUtf8Strictly)
{
    EXPECT_TRUE(IsValidUtf8("喫煙 😀 abc"));
    std::size_t offset = 0;
    EXPECT_FALSE(IsValidUtf8("ab\xC0\x80", &offset)); // overlong NUL
    EXPECT_EQ(offset, 2u);
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE5\x96")); // truncated
    EXPECT_FALSE(IsValidUtf8(Kitsuen));
}

TEST(Utf, TakesTheFirstTwoUtf16UnitsWithoutSplittingAPair)
{
    EXPECT_EQ(FirstUtf16Units("", 2), "");
    EXPECT_EQ(FirstUtf16Units("R", 2), "R");
    EXPECT_EQ(FirstUtf16Units("Row", 2), "Ro");
    EXPECT_EQ(FirstUtf16Units("喫煙者", 2), "喫煙");
    EXPECT_EQ(FirstUtf16Units("😀x", 2), "😀");
    EXPECT_EQ(FirstUtf16Units("a😀", 2), "a");
    EXPECT_EQ(FirstUtf16Units("\xFF\xFEz", 2), "\xFF\xFE");
}

TEST(Utf, TellsJapaneseFromOtherText)
{
    EXPECT_TRUE(HoldsKanaOrKanji("xあ"));
    EXPECT_TRUE(HoldsKanaOrKanji("ﾃｱ"));
    EXPECT_TRUE(HoldsKanaOrKanji("喫"));
    EXPECT_FALSE(HoldsKanaOrKanji("ñ•①"));
    EXPECT_FALSE(HoldsKanaOrKanji("　、"));
    EXPECT_TRUE(HoldsJapanese("　"));
    EXPECT_TRUE(HoldsJapanese("ＡＢ"));
    EXPECT_FALSE(HoldsJapanese("café"));
}

TEST(DecodeTextFile, ReadsAsciiAndValidUtf8AsUtf8)
{
    EXPECT_EQ(DecodeTextFile(",fair,red\r\n"), ",fair,red\r\n");
    EXPECT_EQ(DecodeTextFile("\xE5\x96\xAB\xE7\x85\x99,1"), "喫煙,1");
    EXPECT_EQ(DecodeTextFile(""), "");
}

TEST(DecodeTextFile, ReadsCp932ThatIsNotUtf8)
{
    EXPECT_EQ(DecodeTextFile("," + Kitsuen + ",x\r\n"), ",喫煙,x\r\n");
    EXPECT_EQ(DecodeTextFile("\x87\x40,\xFB\xFC"), "①,髙");
}

TEST(DecodeTextFile, ReadsShortCp932KanaThatLooksLikeUtf8AsCp932)
{
    EXPECT_EQ(DecodeTextFile("," + HalfWidthTeA + ",1"), ",ﾃｱ,1");
    // With Japanese in the UTF-8 reading, UTF-8 wins.
    EXPECT_EQ(DecodeTextFile("あ," + HalfWidthTeA), "あ,ñ");
}

TEST(DecodeTextFile, FollowsTheByteOrderMark)
{
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" + HalfWidthTeA), "ñ");
    EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE\xAB\x55\x59\x71,\x00"
                                         "1\x00\r\x00\n\x00",
                  14)),
        "喫煙,1\r\n");
    EXPECT_EQ(DecodeTextFile(std::string("\xFE\xFF\x55\xAB\xD8\x3D\xDE\x00", 8)), "喫😀");
}

TEST(DecodeTextFile, RefusesBytesThatAreNeitherNamingTheLine)
{
    EXPECT_EQ(decodeError("a\r\nb\r\n\x80,1\r\n"),
        "ファイルの 3 行目に、UTF-8 としても CP932 (Shift_JIS) としても読めないバイトがあります");
    // A UTF-8 file with one broken byte on line 2: CP932 stops at line 1
    // already, UTF-8 gets further and names the right line.
    EXPECT_EQ(decodeError("喫煙\n\xE5\x96\n"),
        "ファイルの 2 行目に、UTF-8 としても CP932 (Shift_JIS) としても読めないバイトがあります");
    EXPECT_EQ(decodeError("\xEF\xBB\xBF"
                          "a\n"
                  + Kitsuen),
        "ファイルの 2 行目に、UTF-8 として読めないバイトがあります");
    EXPECT_EQ(decodeError(std::string("\xFF\xFE"
                                      "a\x00\n\x00\x00\xDC",
                  8)),
        "ファイルの 2 行目に、UTF-16 として読めないバイトがあります");
    EXPECT_EQ(decodeError(std::string("\xFE\xFF\x00"
                                      "a\x00",
                  5)),
        "ファイルの 1 行目に、UTF-16 として読めないバイトがあります");
}

TEST(EncodeTextFile, WritesCp932WhenEverythingFits)
{
    EXPECT_EQ(
        EncodeTextFile(",喫煙,①\r\n", FileEncoding::Cp932OrUtf8), "," + Kitsuen + ",\x87\x40\r\n");
    EXPECT_EQ(EncodeTextFile("a,b\r\n", FileEncoding::Cp932OrUtf8), "a,b\r\n");
}

TEST(EncodeTextFile, FallsBackToUtf8WithMarkForTheWholeFile)
{
    EXPECT_EQ(EncodeTextFile("喫煙,😀\r\n", FileEncoding::Cp932OrUtf8), "\xEF\xBB\xBF喫煙,😀\r\n");
    EXPECT_EQ(EncodeTextFile("¥\r\n", FileEncoding::Cp932OrUtf8), "\xEF\xBB\xBF¥\r\n");
    EXPECT_EQ(EncodeTextFile("a\r\n", FileEncoding::Utf8),
        "\xEF\xBB\xBF"
        "a\r\n");
}

TEST(EncodeTextFile, AvoidsCp932ThatWouldBeReadBackAsUtf8)
{
    // In CP932 "縺｢" is E3 81 A2, the UTF-8 of "ぢ".
    EXPECT_EQ(EncodeTextFile("縺｢", FileEncoding::Cp932OrUtf8), "\xEF\xBB\xBF縺｢");
    // "ﾃｱ" (C3 B1, the UTF-8 of "ñ") is read back as CP932 and may stay.
    EXPECT_EQ(EncodeTextFile("ﾃｱ", FileEncoding::Cp932OrUtf8), "\xC3\xB1");
}

TEST(ChooseCharset, LooksAtEachTextOnItsOwn)
{
    EXPECT_EQ(ChooseCharset(FileEncoding::Cp932OrUtf8, { "R1", "喫煙", "" }), TextCharset::Cp932);
    EXPECT_EQ(ChooseCharset(FileEncoding::Cp932OrUtf8, { "R1", "😀" }), TextCharset::Utf8WithBom);
    EXPECT_EQ(ChooseCharset(FileEncoding::Utf8, { "R1" }), TextCharset::Utf8WithBom);
    // Two halves of one character are two unwritable texts, not one.
    EXPECT_EQ(
        ChooseCharset(FileEncoding::Cp932OrUtf8, { "\xE3", "\x81\x82" }), TextCharset::Utf8WithBom);
}

TEST(TextCoding, ReadsBackWhatItWrites)
{
    for (const std::string text :
        { "喫煙,①,髙,～\r\n", "😀,¥\r\n", "ñ,x\r\n", "plain\r\n", "縺｢\r\n", "ﾃｱ\r\n" })
        for (const auto encoding : { FileEncoding::Cp932OrUtf8, FileEncoding::Utf8 })
            EXPECT_EQ(DecodeTextFile(EncodeTextFile(text, encoding)), text);
}
