#include "trust/signed_catalogue.h"

#include <gtest/gtest.h>

namespace {

const std::string kHash(64, 'a');
const std::string kOtherHash(64, 'b');

std::string Catalogue(const std::string& body) {
    return "cantarel-catalogue\t1\nserial\t7\npublished\t2026-12-10T15:30:00Z\nlauncher\t1.5\nkey\tdemo\n" + body +
           "end\n";
}

TEST(ParseCatalogue, ReadsEveryRecordOfAPublication) {
    const auto catalogue = ParseCatalogue(Catalogue(
        "mirror\thttp://miroir.example:8080\n"
        "file\t/logiciels/version.txt\t5\t" + kHash + "\n"
        "archive\t/logiciels/portable1.4/Cantarel/Solfège.zip\t1200\t" + kOtherHash + "\tSolfège\t4000\n"
        "archive\t/logiciels/CantarelPortable.zip\t900\t" + kHash + "\t\t1500\n"));
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->serial, 7u);
    EXPECT_EQ(catalogue->launcherVersion, "1.5");
    EXPECT_EQ(catalogue->keyId, "demo");
    EXPECT_EQ(catalogue->mirrors, std::vector<std::string>{"http://miroir.example:8080"});
    const CatalogueEntry* solfege = catalogue->Find("/logiciels/portable1.4/Cantarel/Solfège.zip");
    ASSERT_NE(solfege, nullptr);
    EXPECT_TRUE(solfege->archive);
    EXPECT_EQ(solfege->size, 1200u);
    EXPECT_EQ(solfege->sha256, kOtherHash);
    EXPECT_EQ(solfege->topFolder, "Solfège");
    EXPECT_EQ(solfege->unpackedSize, 4000u);
    EXPECT_FALSE(catalogue->Find("/logiciels/version.txt")->archive);
    EXPECT_EQ(catalogue->Find("/logiciels/CantarelPortable.zip")->topFolder, "");
    EXPECT_EQ(catalogue->Find("/logiciels/portable1.4/Cantarel/Solfege.zip"), nullptr);
}

// Each of these refuses the whole catalogue: nothing in it can be trusted.
TEST(ParseCatalogue, RefusesWhatItCannotTakeAtItsWord) {
    const std::string file = "file\t/logiciels/a.zip\t5\t" + kHash + "\n";
    const std::string whole = Catalogue(file);
    const std::vector<std::pair<std::string, std::string>> hostile = {
        {"cut short", whole.substr(0, whole.size() - 4)},
        {"cut inside a record", whole.substr(0, whole.size() - 30)},
        {"empty", ""},
        {"oversized", Catalogue(std::string(kCatalogueMaxBytes, '#') + "\n")},
        {"unknown format", "cantarel-catalogue\t2\nserial\t7\nlauncher\t1.5\nkey\tdemo\nend\n"},
        {"not a catalogue", "<html><body>Portail captif</body></html>\nend\n"},
        {"unknown record", Catalogue("install-anyway\t/logiciels/a.zip\n")},
        {"duplicate path", Catalogue(file + file)},
        {"parent folder", Catalogue("file\t/logiciels/../etc/passwd\t5\t" + kHash + "\n")},
        {"outside the served root", Catalogue("file\t/autre/a.zip\t5\t" + kHash + "\n")},
        {"empty folder in a path", Catalogue("file\t/logiciels//a.zip\t5\t" + kHash + "\n")},
        {"backslash in a path", Catalogue("file\t/logiciels/..\\a.zip\t5\t" + kHash + "\n")},
        {"negative size", Catalogue("file\t/logiciels/a.zip\t-5\t" + kHash + "\n")},
        {"size that is not a number", Catalogue("file\t/logiciels/a.zip\t5Mo\t" + kHash + "\n")},
        {"size beyond reason", Catalogue("file\t/logiciels/a.zip\t99999999999999999999\t" + kHash + "\n")},
        {"short hash", Catalogue("file\t/logiciels/a.zip\t5\tabcdef\n")},
        {"upper-case hash", Catalogue("file\t/logiciels/a.zip\t5\t" + std::string(64, 'A') + "\n")},
        {"archive into a parent", Catalogue("archive\t/logiciels/a.zip\t5\t" + kHash + "\t..\t9\n")},
        {"archive into a nested path", Catalogue("archive\t/logiciels/a.zip\t5\t" + kHash + "\tA\\B\t9\n")},
        {"missing field", Catalogue("file\t/logiciels/a.zip\t5\n")},
        {"extra field", Catalogue("file\t/logiciels/a.zip\t5\t" + kHash + "\tx\n")},
        {"second serial", Catalogue("serial\t9\n")},
        {"record after the end", whole + "file\t/logiciels/b.zip\t5\t" + kHash + "\n"},
        {"carriage returns", "cantarel-catalogue\t1\r\nserial\t7\r\nlauncher\t1.5\r\nkey\tdemo\r\nend\n"},
        {"no serial", "cantarel-catalogue\t1\nlauncher\t1.5\nkey\tdemo\nend\n"},
        {"serial zero", "cantarel-catalogue\t1\nserial\t0\nlauncher\t1.5\nkey\tdemo\nend\n"},
        {"signing key without endorsement", Catalogue("signing-key\tdemo\tabcd\n")},
        {"signing key of another signer", Catalogue("signing-key\tautre\tabcd\nendorsement\tdemo\tabcd\n")},
        {"mirror of another scheme", Catalogue("mirror\tftp://miroir.example\n")},
    };
    for (const auto& [what, text] : hostile) {
        std::string why;
        EXPECT_FALSE(ParseCatalogue(text, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
    }
}

TEST(Hex, GoesBothWaysAndRefusesWhatIsNotHex) {
    EXPECT_EQ(ToHex(std::string("\x00\x7f\xff", 3)), "007fff");
    EXPECT_EQ(FromHex("007FfF"), std::string("\x00\x7f\xff", 3));
    EXPECT_FALSE(FromHex("abc"));
    EXPECT_FALSE(FromHex("zz"));
}

}  // namespace
