#include "tools/xomsim/PrinterModel.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>

#include "SnmpTestMessages.h"
#include "tools/xomsim/PrinterDescription.h"
#include "tools/xomsim/SnmpResponder.h"

namespace xomsim {
namespace {

using JuxNetwork::CBerTripleWithData;
using JuxNetwork::CSnmpMessage;

const std::string kIdentity = "description XOM\nname q\nmac 00-11-22-33-44-55\n";
const std::string kSession(128, 'a');  // 64 octets AA
const std::string kVerify(128, '1');   // 64 octets 11
const std::string kToken(128, '2');    // 64 octets 22

PrinterDescription Parse(const std::string& text, std::uint64_t seed = 1) {
    PrinterDescription printer;
    std::string error;
    EXPECT_TRUE(ParsePrinterDescription(kIdentity + text, "p.txt", printer, error, seed)) << error;
    return printer;
}

// Asks the printer for one object through the SNMP answer path and hands back its value.
struct Served {
    std::uint8_t tag = 0;
    std::int32_t integer = 0;
    std::wstring text;
    std::vector<std::uint8_t> octets;
};

Served Get(const PrinterDescription& printer, const std::wstring& oid) {
    const auto request = test::EncodeRequest(0xA0, 9, L"tamsel", {oid});
    const SnmpReply reply = AnswerSnmpRequest(printer, request.data(), request.size());
    CSnmpMessage answer;
    Served served;
    EXPECT_TRUE(reply.answer && test::ParseAnswer(reply.datagram, answer)) << reply.note;
    EXPECT_EQ(test::IntegerOf(answer.Pdu().ErrorStatus()), 0) << "no object " << oid;
    if (answer.Varbinds().GetCount() != 1) return served;
    const CBerTripleWithData& value = answer.Varbinds().GetAt(0).Value();
    served.tag = value.GetTag();
    served.text = value.ValueText();
    if (served.tag == 0x02) served.integer = test::IntegerOf(value);
    if (value.GetData() && served.tag == 0x04) served.octets = value.GetData()->GetOctets();
    return served;
}

bool Serves(const PrinterDescription& printer, const std::string& oid) {
    ObjectId id;
    return ParseObjectId(oid, id) && printer.objects.count(id) != 0;
}

std::vector<std::uint8_t> Repeated(std::uint8_t octet) {
    return std::vector<std::uint8_t>(64, octet);
}

std::vector<std::uint8_t> Sha512Of(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out(SHA512_DIGEST_LENGTH);
    SHA512(data.data(), data.size(), out.data());
    return out;
}

TEST(PrinterModel, PrinterWideValuesAndUserAccounting) {
    const PrinterDescription printer = Parse(
        "colorants count=4\nanonymous mono=1 color=0\n"
        "user-accounting access=4 prompt=\"User name\" default=guest session-salt=" +
        kSession + "\n");
    EXPECT_EQ(Get(printer, L"1.3.6.1.2.1.43.10.2.1.6.1.1").integer, 4);
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.5.0").integer, 1);
    const Served color = Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.6.0");
    EXPECT_EQ(color.tag, 0x02);
    EXPECT_EQ(color.integer, 0);
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.1.0").octets, Repeated(0xAA));
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.1.0").integer, 4);
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.2.0").text, L"User name");
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.3.0").text, L"guest");

    // Each anonymous right is optional: without color= there is no role-based access control.
    const PrinterDescription plain = Parse("anonymous mono=1\n");
    EXPECT_TRUE(Serves(plain, "1.3.6.1.4.1.40713.1.1.1.3.2.5.0"));
    EXPECT_FALSE(Serves(plain, "1.3.6.1.4.1.40713.1.1.1.3.2.6.0"));
    EXPECT_FALSE(Serves(plain, "1.3.6.1.4.1.40713.1.1.1.3.1.0"));
}

TEST(PrinterModel, UsersPublishSaltsAndTheStoredHashOfTheirPassword) {
    const PrinterDescription printer =
        Parse("user-accounting access=4 prompt=User session-salt=" + kSession +
              "\nuser name=alice password=pw verify-salt=" + kVerify + " token-salt=" + kToken +
              " mono=1 color=0\nuser name=bob\n");
    const std::wstring alice = L"1.3.6.1.4.1.40713.1.1.1.3.2.4.1.";
    EXPECT_EQ(Get(printer, alice + L"1.1").tag, 0x47);
    EXPECT_EQ(Get(printer, alice + L"1.1").text, L"1");
    EXPECT_EQ(Get(printer, alice + L"2.1").text, L"alice");
    EXPECT_EQ(Get(printer, alice + L"4.1").octets, Repeated(0x11));
    EXPECT_EQ(Get(printer, alice + L"5.1").octets, Repeated(0x22));
    EXPECT_EQ(Get(printer, alice + L"6.1").integer, 1);
    EXPECT_EQ(Get(printer, alice + L"7.1").integer, 0);

    // Stored hash = SHA-512(session salt + SHA-512(verification salt + "pw" as UTF-16LE)).
    std::vector<std::uint8_t> inner = Repeated(0x11);
    inner.insert(inner.end(), {'p', 0, 'w', 0});
    std::vector<std::uint8_t> outer = Repeated(0xAA);
    const auto innerHash = Sha512Of(inner);
    outer.insert(outer.end(), innerHash.begin(), innerHash.end());
    EXPECT_EQ(Get(printer, alice + L"3.1").octets, Sha512Of(outer));
    ASSERT_EQ(printer.model.users.size(), 2u);
    // The token uses the token salt.
    std::vector<std::uint8_t> tokenInner = Repeated(0x22);
    tokenInner.insert(tokenInner.end(), {'p', 0, 'w', 0});
    std::vector<std::uint8_t> tokenOuter = Repeated(0xAA);
    const auto tokenInnerHash = Sha512Of(tokenInner);
    tokenOuter.insert(tokenOuter.end(), tokenInnerHash.begin(), tokenInnerHash.end());
    EXPECT_EQ(printer.model.users[0].token, Base64(Sha512Of(tokenOuter)));

    // A user without password or rights: the empty password's hash, derived salts, no .6/.7.
    EXPECT_EQ(Get(printer, alice + L"1.2").text, L"2");
    EXPECT_EQ(Get(printer, alice + L"3.2").octets.size(), 64u);
    EXPECT_EQ(Get(printer, alice + L"4.2").octets, DeriveSalt(1, "user verify bob"));
    EXPECT_NE(Get(printer, alice + L"4.2").octets, Get(printer, alice + L"5.2").octets);
    EXPECT_FALSE(Serves(printer, "1.3.6.1.4.1.40713.1.1.1.3.2.4.1.6.2"));
    EXPECT_FALSE(Serves(printer, "1.3.6.1.4.1.40713.1.1.1.3.2.4.1.7.2"));
}

TEST(PrinterModel, SaltsRepeatForTheSameSeedAndChangeWithIt) {
    const std::string text = "user-accounting access=4 prompt=User\nuser name=alice password=pw\n";
    const PrinterDescription one = Parse(text, 7);
    const PrinterDescription again = Parse(text, 7);
    const PrinterDescription other = Parse(text, 8);
    EXPECT_EQ(one.model.sessionSalt, again.model.sessionSalt);
    EXPECT_EQ(one.model.users[0].token, again.model.users[0].token);
    EXPECT_NE(one.model.sessionSalt, other.model.sessionSalt);
    EXPECT_NE(one.model.users[0].token, other.model.users[0].token);
}

TEST(PrinterModel, AccountingFieldsAndTheirValuesByFieldAndRow) {
    const PrinterDescription printer = Parse(
        "user-accounting access=1 prompt=User\n"
        "accounting-field access=4 prompt=Project default=P-1 type-id=1\n"
        "accounting-field access=2 prompt=\"Cost centre\" default= type-id=2\n"
        "accounting-value field=1 name=P-1 password=alpha\n"
        "accounting-value field=2 name=CC-1\n"
        "accounting-value field=1 name=P-2 password=beta\n");
    const std::wstring field = L"1.3.6.1.4.1.40713.1.1.1.3.3.1.";
    EXPECT_EQ(Get(printer, field + L"1.2").tag, 0x47);
    EXPECT_EQ(Get(printer, field + L"2.1").integer, 4);
    EXPECT_EQ(Get(printer, field + L"3.2").text, L"Cost centre");
    EXPECT_EQ(Get(printer, field + L"4.1").text, L"P-1");
    EXPECT_EQ(Get(printer, field + L"5.2").integer, 2);
    const std::wstring child = L"1.3.6.1.4.1.40713.1.1.1.3.4.1.";
    EXPECT_EQ(Get(printer, child + L"1.1.2").tag, 0x47);
    EXPECT_EQ(Get(printer, child + L"1.1.2").text, L"2");
    EXPECT_EQ(Get(printer, child + L"2.1.2").text, L"P-2");
    EXPECT_EQ(Get(printer, child + L"2.2.1").text, L"CC-1");
    EXPECT_EQ(Get(printer, child + L"3.1.1").octets,
              CredentialHash("alpha", printer.model.sessionSalt,
                             printer.model.accountingFields[0].values[0].verifySalt));
    EXPECT_EQ(Get(printer, child + L"5.1.1").octets,
              printer.model.accountingFields[0].values[0].tokenSalt);
    EXPECT_FALSE(Serves(printer, "1.3.6.1.4.1.40713.1.1.1.3.4.1.1.2.2"));
}

TEST(PrinterModel, MediaTraysPresetsStampsAndExitTrays) {
    const PrinterDescription printer = Parse(
        "media name=\"Plain paper\" id=1 type=7\nmedia name=Film id=4294967296 type=4294967295\n"
        "tray name=\"Roll 1\" type=6 units=4 cross-feed=914400 media=\"Plain paper\"\n"
        "tray name=Sheets type=3 units=3 cross-feed=85000 capacity=100 level=60 status=4\n"
        "stamp id=3 name=Approved\nprint-quality-preset id=-1 name=Draft\n"
        "hpgl-preset id=5 name=Thin\nfolder-preset id=6 name=A4\nexit-tray value=2\n");
    const std::wstring media = L"1.3.6.1.4.1.40713.1.1.1.2.1.1.";
    EXPECT_EQ(Get(printer, media + L"1.2").tag, 0x47);
    EXPECT_EQ(Get(printer, media + L"2.1").octets,
              (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Get(printer, media + L"2.2").octets,
              (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(Get(printer, media + L"3.1").text, L"Plain paper");
    EXPECT_EQ(Get(printer, media + L"4.2").tag, 0x47);
    EXPECT_EQ(Get(printer, media + L"4.2").text, L"4294967295");

    const std::wstring input = L"1.3.6.1.2.1.43.8.2.1.";
    EXPECT_EQ(Get(printer, input + L"1.1.2").tag, 0x02);
    EXPECT_EQ(Get(printer, input + L"1.1.2").integer, 2);
    EXPECT_EQ(Get(printer, input + L"2.1.1").integer, 6);
    EXPECT_EQ(Get(printer, input + L"3.1.2").integer, 3);
    EXPECT_EQ(Get(printer, input + L"5.1.1").integer, 914400);
    EXPECT_EQ(Get(printer, input + L"9.1.1").integer, -2);
    EXPECT_EQ(Get(printer, input + L"9.1.2").integer, 100);
    EXPECT_EQ(Get(printer, input + L"10.1.2").integer, 60);
    EXPECT_EQ(Get(printer, input + L"11.1.2").integer, 4);
    EXPECT_EQ(Get(printer, input + L"12.1.1").text, L"Plain paper");
    EXPECT_EQ(Get(printer, input + L"12.1.2").text, L"");
    EXPECT_EQ(Get(printer, input + L"13.1.2").text, L"Sheets");

    const struct {
        const wchar_t* entry;
        std::int32_t id;
        const wchar_t* name;
    } tables[] = {{L"1.3.6.1.4.1.40713.1.1.1.1.1.1.", 3, L"Approved"},
                  {L"1.3.6.1.4.1.40713.1.1.1.5.1.1.", -1, L"Draft"},
                  {L"1.3.6.1.4.1.40713.1.1.1.9.1.1.", 5, L"Thin"},
                  {L"1.3.6.1.4.1.40713.1.1.1.6.1.1.", 6, L"A4"}};
    for (const auto& t : tables) {
        EXPECT_EQ(Get(printer, std::wstring(t.entry) + L"1.1").tag, 0x47) << t.entry;
        EXPECT_EQ(Get(printer, std::wstring(t.entry) + L"2.1").integer, t.id) << t.entry;
        EXPECT_EQ(Get(printer, std::wstring(t.entry) + L"3.1").text, t.name) << t.entry;
    }
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.11.1.1.1.1").tag, 0x47);
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.11.1.1.2.1").integer, 2);
}

TEST(PrinterModel, BadRowsNameFileLineAndReason) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"colorants count=4\ncolorants count=3\n",
         "p.txt:5: colorants: 'colorants' is given twice"},
        {"colorants\n", "p.txt:4: colorants: 'count=' is missing"},
        {"anonymous mono=yes\n", "p.txt:4: anonymous: mono='yes' is not a 32-bit integer"},
        {"user-accounting access=4\n", "p.txt:4: user-accounting: 'prompt=' is missing"},
        {"user-accounting access=4 prompt=U session-salt=00\n",
         "p.txt:4: user-accounting: session-salt= needs 64 octets as 128 hex digits"},
        {"user name=alice\n",
         "p.txt:4: 'alice' needs a user-accounting line: its session salt goes into every hash"},
        {"user-accounting access=4 prompt=U\nuser name=alice\n\nuser name=alice password=x\n",
         "p.txt:7: user: user 'alice' is given twice (first on line 5)"},
        {"user-accounting access=4 prompt=U\nuser name=\n",
         "p.txt:5: user: 'name=' must not be empty"},
        {"user-accounting access=4 prompt=U\nuser name=a colour=1\n",
         "p.txt:5: user: 'colour' is none of name, password, mono, color, verify-salt, token-salt"},
        {"accounting-value field=1 name=P\n",
         "p.txt:4: accounting-value: field=1 names no accounting-field line before it"},
        {"accounting-field access=4 prompt=P type-id=1\nuser-accounting access=1 prompt=U\n"
         "accounting-value field=1 name=P\naccounting-value field=1 name=P\n",
         "p.txt:7: accounting-value: accounting value 'P' of field 1 is given twice (first on line "
         "6)"},
        {"media name=A id=-1 type=1\n",
         "p.txt:4: media: id='-1' is not a number from 0 to 18446744073709551615"},
        {"media name=A id=5 type=1\nmedia name=B id=5 type=1\n",
         "p.txt:5: media: media id 5 is given twice (first on line 4)"},
        {"tray name=R type=6 units=4\n", "p.txt:4: tray: 'cross-feed=' is missing"},
        {"stamp name=A\n", "p.txt:4: stamp: 'id=' is missing"},
        {"exit-tray value=1 name=Top\n", "p.txt:4: exit-tray: 'name' is none of value"},
        {"object 1.3.6.1.4.1.40713.1.1.1.1.1.1.3.1 octets X\nstamp id=1 name=A\n",
         "p.txt:5: stamp: object 1.3.6.1.4.1.40713.1.1.1.1.1.1.3.1 is given twice"},
        {"media name=\"A\n", "p.txt:4: media: the quoted value of 'name' has no closing quote"},
    };
    for (const auto& c : cases) {
        PrinterDescription printer;
        std::string error;
        EXPECT_FALSE(ParsePrinterDescription(kIdentity + c.text, "p.txt", printer, error))
            << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(PrinterModel, TheQSeriesExampleHoldsTheWholeModel) {
    PrinterDescription printer;
    std::string error;
    ASSERT_TRUE(LoadPrinterDescription(std::string(XOM_TEST_EXAMPLES) + "/printer-q-series.txt",
                                       printer, error))
        << error;
    EXPECT_EQ(printer.model.users.size(), 3u);
    ASSERT_EQ(printer.model.accountingFields.size(), 2u);
    EXPECT_FALSE(printer.model.accountingFields[0].values.empty());
    EXPECT_FALSE(printer.model.accountingFields[1].values.empty());
    EXPECT_EQ(printer.model.mediaIds.size(), 12u);
    EXPECT_EQ(Get(printer, L"1.3.6.1.2.1.43.10.2.1.6.1.1").integer, 4);
    EXPECT_TRUE(Serves(printer, "1.3.6.1.2.1.43.8.2.1.13.1.3"));  // three trays
    EXPECT_FALSE(Serves(printer, "1.3.6.1.2.1.43.8.2.1.13.1.4"));
    EXPECT_EQ(Get(printer, L"1.3.6.1.4.1.40713.1.1.1.3.2.1.0").integer, 4);
}

}  // namespace
}  // namespace xomsim
