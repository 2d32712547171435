// Registry files: what regedit writes reads and writes back unchanged; damage is found, named
// by its line, and never stops the rest from being read.
#include <gtest/gtest.h>

#include <random>

#include "platform/RegFileFormat.h"
#include "platform/TextEncoding.h"

using namespace vtcad::platform;

namespace {

constexpr const wchar_t* kKey = L"HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace";

// A file as regedit exports it, in the writer's own layout except for the hex line breaks,
// which are the author's.
const std::string kSample =
    "Windows Registry Editor Version 5.00\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace]\n"
    "\"Units\"=dword:0000000a\n"
    "\"LastFile\"=\"C:\\\\Drawings\\\\\\\"site\\\" plan.dxf\"\n"
    "@=\"default text\"\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19\n"
    "\"Path\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\n"
    "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
    "\"Big\"=hex(b):00,00,00,00,01,00,00,00\n"
    "\"Nothing\"=hex(0):\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace\\Recent]\n"
    "\"File1\"=\"plan.dxf\"\n"
    "\n";

const RegValue& valueOf(const RegDocument& document, std::wstring_view key, std::wstring_view name) {
  static const RegValue kMissing = [] {
    RegValue missing;
    missing.name = L"<missing>";
    return missing;
  }();
  const RegValue* value = document.findValue(key, name);
  return value ? *value : kMissing;
}

std::string utf16File(const std::string& utf8) {
  std::vector<std::uint8_t> units = encodeUtf16Le(decodeUtf8(utf8).text);
  return "\xFF\xFE" + std::string(units.begin(), units.end());
}

// What the fuzz target checks on every input: whatever was read is written so that it reads
// back, undamaged, as the same document.
void expectWrittenBackTheSame(std::string_view input) {
  RegFileReadResult first = readRegFile(input);
  std::string written = writeRegFile(first.document);
  RegFileReadResult second = readRegFile(written);
  EXPECT_FALSE(second.damage) << second.damage->problem << " in\n" << written;
  EXPECT_EQ(second.document.contents(), first.document.contents()) << written;
}

}  // namespace

TEST(RegFileFormat, WhatRegeditWritesIsWrittenBackByteForByte) {
  RegFileReadResult read = readRegFile(kSample);
  ASSERT_FALSE(read.damage) << read.damage->problem;
  EXPECT_EQ(writeRegFile(read.document), kSample);
}

TEST(RegFileFormat, ValuesAreTypedAsWritten) {
  RegDocument document = readRegFile(kSample).document;
  EXPECT_EQ(valueOf(document, kKey, L"Units").kind, RegValue::Kind::kDword);
  EXPECT_EQ(valueOf(document, kKey, L"Units").dword, 10u);
  EXPECT_EQ(valueOf(document, kKey, L"LastFile").text, L"C:\\Drawings\\\"site\" plan.dxf");
  EXPECT_EQ(valueOf(document, kKey, L"").text, L"default text");
  const RegValue& blob = valueOf(document, kKey, L"Blob");
  ASSERT_EQ(blob.kind, RegValue::Kind::kRaw);
  std::optional<RegRawData> bytes = decodeRegRawData(blob.raw);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->type, kRegBinary);
  EXPECT_EQ(bytes->bytes.size(), 26u);
  EXPECT_EQ(decodeRegRawData(valueOf(document, kKey, L"Big").raw)->type, kRegQword);
  EXPECT_TRUE(decodeRegRawData(valueOf(document, kKey, L"Nothing").raw)->bytes.empty());

  RegDocument numbers = readRegFile(
                            "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"One\"=\"1\"\n"
                            "\"Short\"=dword:1\n")
                            .document;
  EXPECT_EQ(valueOf(numbers, L"HKEY_CURRENT_USER\\A", L"One").kind, RegValue::Kind::kString);
  EXPECT_EQ(valueOf(numbers, L"HKEY_CURRENT_USER\\A", L"Short").dword, 1u);
}

TEST(RegFileFormat, KeysAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling) {
  RegDocument document =
      readRegFile(
          "Windows Registry Editor Version 5.00\n"
          "[HKEY_CURRENT_USER\\Software\\Veltrace]\n\"Units\"=dword:1\n"
          "[hkey_current_user\\SOFTWARE\\veltrace]\n\"UNITS\"=dword:2\n\"\u00c9tat\"=\"a\"\n"
          "[HKEY_CURRENT_USER\\Software\\Veltrace]\n\"\u00e9TAT\"=\"b\"\n")
          .document;
  std::vector<RegKeyContents> contents = document.contents();
  ASSERT_EQ(contents.size(), 1u);
  EXPECT_EQ(contents[0].path, L"HKEY_CURRENT_USER\\Software\\Veltrace");
  ASSERT_EQ(contents[0].values.size(), 2u);
  EXPECT_EQ(contents[0].values[0].name, L"Units");
  EXPECT_EQ(contents[0].values[0].dword, 2u);
  // Beyond ASCII too, as the registry's upper-case comparison does.
  EXPECT_EQ(contents[0].values[1].name, L"\u00c9tat");
  EXPECT_EQ(contents[0].values[1].text, L"b");
}

TEST(RegFileFormat, DeletionLinesRemoveKeysWithTheirSubkeysAndValues) {
  RegDocument document = readRegFile(
                             "Windows Registry Editor Version 5.00\n"
                             "[HKEY_CURRENT_USER\\A]\n\"Keep\"=\"1\"\n\"Drop\"=\"2\"\n"
                             "[HKEY_CURRENT_USER\\A\\Old]\n\"X\"=\"1\"\n"
                             "[HKEY_CURRENT_USER\\A\\Old\\Deeper]\n"
                             "[HKEY_CURRENT_USER\\A\\Older]\n"
                             "[-HKEY_CURRENT_USER\\A\\old]\n\"Ignored\"=\"after a deleted key\"\n"
                             "[HKEY_CURRENT_USER\\A]\n\"Drop\"=-\n")
                             .document;
  EXPECT_FALSE(document.hasKey(L"HKEY_CURRENT_USER\\A\\Old"));
  EXPECT_FALSE(document.hasKey(L"HKEY_CURRENT_USER\\A\\Old\\Deeper"));
  // A key whose name only starts like the deleted one stays.
  EXPECT_TRUE(document.hasKey(L"HKEY_CURRENT_USER\\A\\Older"));
  EXPECT_EQ(document.valueNames(L"HKEY_CURRENT_USER\\A"), std::vector<std::wstring>{L"Keep"});
}

TEST(RegFileFormat, ReadsRegeditsUtf16AndUtf8WithAByteOrderMarkAndCrLf) {
  std::string crlf;
  for (char c : kSample) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<RegKeyContents> expected = readRegFile(kSample).document.contents();
  for (const std::string& variant : {utf16File(crlf), "\xEF\xBB\xBF" + kSample, crlf}) {
    RegFileReadResult read = readRegFile(variant);
    EXPECT_FALSE(read.damage);
    EXPECT_EQ(read.document.contents(), expected);
  }
  std::string nonAscii =
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\\u5730]\n\"\u540d\"=\"\u5757\"\n";
  EXPECT_EQ(valueOf(readRegFile(utf16File(nonAscii)).document, L"HKEY_CURRENT_USER\\\u5730", L"\u540d").text,
            L"\u5757");
}

TEST(RegFileFormat, AnEmptyFileOrTheOldHeaderIsNoDamage) {
  EXPECT_FALSE(readRegFile("").damage);
  EXPECT_FALSE(readRegFile("\xEF\xBB\xBF").damage);
  RegFileReadResult old = readRegFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"X\"=\"y\"\r\n");
  EXPECT_FALSE(old.damage);
  EXPECT_EQ(valueOf(old.document, L"HKEY_CURRENT_USER\\A", L"X").text, L"y");
}

TEST(RegFileFormat, DamageIsNamedByItsFirstLineAndTheRestIsRead) {
  struct Case {
    std::string line;  // put between a good value and another good value
    std::string problem;
  };
  const Case cases[] = {
      {"garbage", "neither a key, a value nor a comment"},
      {"\"Open\"=\"no closing quote", "a string without its closing quote"},
      {"\"Open=\"x\"", "no '=' after the value name"},
      {"\"X\"=\"a\" trailing", "text after the string's closing quote"},
      {"\"X\"=hex:0g", "bad hex data"},
      {"\"X\"=hex:1,,2", "bad hex data"},
      {"\"X\"=hex(12345678Z):00", "bad hex data"},
      {"\"X\"=dword:123456789", "bad dword data"},
      {"\"X\"=dword:", "bad dword data"},
      {"\"X\"=qword:1", "unknown value data"},
      {"\"X\"=\"bad \xC3\x28 byte\"", "invalid UTF-8"},
      {"\"X\"=\"a\x01"
       "b\"",
       "a control character"},
      {"\"X\"=\"" + std::string(kMaxRegLineChars, 'x') + "\"", "a line longer than 1 MiB"},
      {"[HKEY_CURRENT_USER\\A", "a key without its closing ']'"},
      {"[NOT_A_ROOT\\A]", "not a key"},
      {"[HKEY_CURRENT_USER\\\\A]", "not a key"},
      {"[-HKEY_CURRENT_USER]", "a root key cannot be deleted"},
  };
  for (const Case& c : cases) {
    std::string file = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\"Before\"=\"1\"\n" +
                       c.line + "\n[HKEY_CURRENT_USER\\A]\n\"After\"=\"2\"\n";
    RegFileReadResult read = readRegFile(file);
    SCOPED_TRACE(c.line.substr(0, 60));
    ASSERT_TRUE(read.damage);
    EXPECT_EQ(read.damage->line, 5u);
    EXPECT_EQ(read.damage->problem.substr(0, c.problem.size()), c.problem);
    EXPECT_EQ(read.damage->damagedLines, 1u);
    EXPECT_EQ(read.document.valueNames(L"HKEY_CURRENT_USER\\A"),
              (std::vector<std::wstring>{L"Before", L"After"}));
    expectWrittenBackTheSame(file);
  }
}

TEST(RegFileFormat, AFileThatIsNoRegistryFileIsNotReadAtAll) {
  for (std::string file :
       {std::string("[HKEY_CURRENT_USER\\A]\n\"X\"=\"1\"\n"), std::string("\xFE\xFF\0W", 4),
        std::string("W\0i\0n\0", 6), std::string("Windows Registry Editor Version 5.0\n")}) {
    RegFileReadResult read = readRegFile(file);
    ASSERT_TRUE(read.damage);
    EXPECT_EQ(read.damage->line, 1u);
    EXPECT_TRUE(read.document.empty());
  }
}

TEST(RegFileFormat, ACutOffFileKeepsWhatCameBeforeTheCut) {
  // Cut in the middle of a continued hex value: the value is lost, the ones before it stay.
  std::string cut = kSample.substr(0, kSample.find("  17,18"));
  RegFileReadResult read = readRegFile(cut);
  ASSERT_TRUE(read.damage);
  EXPECT_EQ(read.damage->problem, "a value continued past the end of the file");
  EXPECT_EQ(read.document.valueNames(kKey), (std::vector<std::wstring>{L"Units", L"LastFile", L""}));
  // Cut inside a string.
  read = readRegFile(kSample.substr(0, kSample.find("plan.dxf\"\n")));
  ASSERT_TRUE(read.damage);
  EXPECT_EQ(read.damage->problem, "a string without its closing quote");
}

TEST(RegFileFormat, LaterDamageIsCountedInTheOneReport) {
  RegFileReadResult read = readRegFile(
      "Windows Registry Editor Version 5.00\n\"Early\"=\"before any "
      "key\"\n[HKEY_CURRENT_USER\\A]\nbad\nworse\n");
  ASSERT_TRUE(read.damage);
  EXPECT_EQ(read.damage->line, 2u);
  EXPECT_EQ(read.damage->problem, "a value before the first key");
  EXPECT_EQ(read.damage->damagedLines, 3u);
}

TEST(RegFileFormat, MutatedFilesAlwaysReadAndWriteBackTheSame) {
  // Property: any bytes read give a document that the writer puts into a file that reads back
  // as the same document without damage.
  std::mt19937 random(/*seed=*/20240611);
  for (int round = 0; round < 400; ++round) {
    std::string file = kSample;
    std::uniform_int_distribution<size_t> position(0, file.size() - 1);
    for (int edit = 0; edit < 1 + round % 4; ++edit) {
      const char alphabet[] = "\"\\[]=@-:,\n\r\t hexdword(0)7aZ\xC3\xA9\x80";
      file[position(random)] = alphabet[random() % (sizeof alphabet - 1)];
    }
    SCOPED_TRACE(file);
    expectWrittenBackTheSame(file);
  }
}

TEST(RegFileFormat, TextWithLineBreaksIsWrittenAsHexOfTypeOne) {
  RegValue value = makeStringValue(L"Note", L"two\nlines");
  ASSERT_EQ(value.kind, RegValue::Kind::kRaw);
  std::optional<RegRawData> data = decodeRegRawData(value.raw);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, kRegSz);
  std::wstring text = decodeUtf16Le(std::string(data->bytes.begin(), data->bytes.end())).text;
  EXPECT_EQ(text, std::wstring(L"two\nlines", 10));  // with its terminator
  EXPECT_EQ(makeStringValue(L"Tab", L"a\tb").kind, RegValue::Kind::kString);
}

TEST(RegFileFormat, HexDataIsWrappedAs25BytesALineAndReadsBack) {
  for (size_t size : {0u, 1u, 24u, 25u, 26u, 50u, 51u, 300u}) {
    std::vector<std::uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37);
    std::wstring raw = encodeRegRawData(kRegBinary, bytes);
    std::optional<RegRawData> back = decodeRegRawData(raw);
    ASSERT_TRUE(back) << size;
    EXPECT_EQ(back->bytes, bytes);
    EXPECT_EQ(std::count(raw.begin(), raw.end(), L'\n'), static_cast<long>(size == 0 ? 0 : (size - 1) / 25));
  }
  EXPECT_EQ(encodeRegRawData(kRegQword, std::vector<std::uint8_t>{1, 0}), L"hex(b):01,00");
}
