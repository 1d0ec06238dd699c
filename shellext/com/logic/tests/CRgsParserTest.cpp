#include <gtest/gtest.h>

#include "CRgsParser.h"

using namespace qlcom;

TEST(CRgsParser, ReadsKeysRulesAndValueTypes) {
    const std::wstring text =
        L"HKCR\r\n{\r\n"
        L"  NoRemove CLSID\r\n  {\r\n"
        L"    forceremove {1-2} = s 'It''s'\r\n    {\r\n"
        L"      val ThreadingModel = s Apartment\r\n"
        L"      val Size = d 0x10\r\n      val Count = d '42'\r\n"
        L"      val Raw = b 0aFF\r\n      val Path = e '%%x'\r\n"
        L"      'NoRemove' { }\r\n"
        L"      Delete Old\r\n"
        L"    }\r\n  }\r\n}\r\n"
        L"HKEY_CURRENT_USER { Software }\r\n";
    CRgsScript script;
    ASSERT_TRUE(CRgsParser(text).Parse(script));
    ASSERT_EQ(2u, script.blocks.size());
    EXPECT_EQ(RegRoot::CurrentUser, script.blocks[1].root);
    EXPECT_EQ(L"Software", script.blocks[1].keys.at(0).name);

    const CRgsKey& clsid = script.blocks[0].keys.at(0);
    EXPECT_EQ(CRgsKey::Rule::NoRemove, clsid.rule);
    const CRgsKey& server = clsid.subkeys.at(0);
    EXPECT_EQ(L"{1-2}", server.name);
    EXPECT_EQ(CRgsKey::Rule::ForceRemove, server.rule);
    ASSERT_TRUE(server.hasDefault);
    EXPECT_EQ(L"It's", server.defaultValue.text);
    ASSERT_EQ(5u, server.values.size());
    EXPECT_EQ(L"Apartment", server.values[0].value.text);
    EXPECT_EQ(16u, server.values[1].value.number);
    EXPECT_EQ(42u, server.values[2].value.number);
    EXPECT_EQ((std::vector<std::uint8_t>{0x0A, 0xFF}), server.values[3].value.bytes);
    EXPECT_EQ(CRgsValue::Type::ExpandString, server.values[4].value.type);
    ASSERT_EQ(2u, server.subkeys.size());
    EXPECT_EQ(L"NoRemove", server.subkeys[0].name); // quoted: a name, not a rule
    EXPECT_EQ(CRgsKey::Rule::Plain, server.subkeys[0].rule);
    EXPECT_EQ(CRgsKey::Rule::Delete, server.subkeys[1].rule);
}

TEST(CRgsParser, RejectsMalformedScripts) {
    const wchar_t* const bad[] = {
        L"HKCR { a ",                 // block never closed
        L"HKXX { a }",                // unknown root
        L"'HKCR' { a }",              // quoted root
        L"HKCR a }",                  // no opening brace
        L"HKCR { val x s 'y' }",      // val without '='
        L"HKCR { a = q 'y' }",        // unknown type
        L"HKCR { a = d 4294967296 }", // number too large
        L"HKCR { a = d 0xZ }",
        L"HKCR { a = b 123 }",        // odd hex length
        L"HKCR { a = s 'open }",      // unterminated quote
        L"HKCR { NoRemove }",         // rule without a name
        L"HKCR { a } }",              // stray brace
    };
    for (const wchar_t* text : bad) {
        CRgsScript script;
        EXPECT_FALSE(CRgsParser(text).Parse(script)) << text;
    }
}
