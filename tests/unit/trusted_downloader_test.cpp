#include "trust/trusted_downloader.h"

#include <gtest/gtest.h>

#include "fakes/fake_http_transfer.h"
#include "fakes/fake_text_file_reader.h"

namespace {

namespace result = download_result;

constexpr char kBase[] = "http://serveur.test";
constexpr char kAppFolder[] = "E:\\Cantarel";
constexpr char kSerials[] = "E:\\Cantarel\\catalogue-serie.txt";
constexpr char kArchivePath[] = "/logiciels/portable1.4/Cantarel/Bullaro.zip";
// A body whose fake hash is itself (see FakeHttpTransfer).
const std::string kArchive(64, 'c');

class TrustedDownloads : public testing::Test {
protected:
    std::string CatalogueText(std::uint64_t serial, std::string_view key = "demo", std::string extra = "") {
        return "cantarel-catalogue\t1\nserial\t" + std::to_string(serial) +
               "\npublished\t2026-12-10T15:30:00Z\nlauncher\t1.5\nkey\t" + std::string(key) + "\n" + extra +
               "archive\t" + kArchivePath + "\t64\t" + kArchive + "\tBullaro\t100\nend\n";
    }
    // The server publishes `text`, signed with `blob`.
    void Publish(const std::string& text, std::string_view blob = "cle-demo", std::string base = kBase) {
        server_.bodies[base + "/logiciels/catalogue"] = text;
        server_.bodies[base + "/logiciels/catalogue.sig"] = FakeSignatures::Sign(text, blob);
    }
    std::int32_t Get(std::string_view path = kArchivePath) {
        return downloads_.Download(std::string(kBase) + std::string(path), "E:\\Cantarel\\Cantarel\\Bullaro.zip");
    }

    FakeHttpTransfer server_;
    FakeSignatures signatures_;
    FakeTextFileReader files_;
    TrustedDownloader downloads_{server_, signatures_, files_, kAppFolder, kBase, {{"demo", "cle-demo"}}};
};

TEST_F(TrustedDownloads, TheCatalogueComesFirstOnceAndEveryFileIsCheckedAgainstIt) {
    Publish(CatalogueText(3));
    server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
    EXPECT_EQ(Get(), result::kDone);
    EXPECT_EQ(Get(), result::kDone);
    EXPECT_EQ(server_.fetches, (std::vector<std::string>{"http://serveur.test/logiciels/catalogue",
                                                          "http://serveur.test/logiciels/catalogue.sig"}));
    ASSERT_EQ(server_.downloads.size(), 2u);
    EXPECT_EQ(server_.downloads[0].expected.size, 64u);
    EXPECT_EQ(server_.downloads[0].expected.sha256, kArchive);
    EXPECT_EQ(files_.contents[kSerials], "demo\t3\r\n");
    // An update check asks the server again.
    downloads_.StartAfresh();
    EXPECT_EQ(Get(), result::kDone);
    EXPECT_EQ(server_.fetches.size(), 4u);
}

// The server published again since the session's first download: the new
// file is checked against the new catalogue, once.
TEST_F(TrustedDownloads, ARefusalAgainstAnEarlierCatalogueAsksForTheCurrentOne) {
    Publish(CatalogueText(3));
    server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
    ASSERT_EQ(Get(), result::kDone);
    const std::string republished = std::string(64, 'f');
    std::string text = CatalogueText(4);
    text.replace(text.find(kArchive), kArchive.size(), republished);
    Publish(text);
    server_.bodies[std::string(kBase) + kArchivePath] = republished;
    EXPECT_EQ(Get(), result::kDone);
    EXPECT_EQ(server_.fetches.size(), 4u);
    // A file that stays wrong is refused after that one new look.
    server_.bodies[std::string(kBase) + kArchivePath] = std::string(64, 'e');
    EXPECT_EQ(Get(), result::kNotVerified);
    EXPECT_EQ(server_.fetches.size(), 6u);
}

TEST_F(TrustedDownloads, AFileTheCatalogueDoesNotNameIsNeverFetched) {
    Publish(CatalogueText(3));
    EXPECT_EQ(Get("/logiciels/portable1.4/Cantarel/Autre.zip"), result::kNotVerified);
    EXPECT_EQ(downloads_.Download("http://ailleurs.test/logiciels/catalogue", "E:\\x"), result::kNotVerified);
    EXPECT_TRUE(server_.downloads.empty());
}

TEST_F(TrustedDownloads, AChangedFileIsRefused) {
    Publish(CatalogueText(3));
    server_.bodies[std::string(kBase) + kArchivePath] = std::string(64, 'd');
    EXPECT_EQ(Get(), result::kNotVerified);
}

// Whatever is wrong with the catalogue, no file is fetched at all.
TEST_F(TrustedDownloads, ACatalogueThatFailsItsChecksFetchesNothing) {
    const std::string good = CatalogueText(3);
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"changed after signing", [&] { Publish(good); server_.bodies["http://serveur.test/logiciels/catalogue"][30] ^= 1; }},
        {"signed by an unknown key", [&] { Publish(CatalogueText(3, "pirate"), "cle-pirate"); }},
        {"signed by another key than it names", [&] { Publish(good, "cle-pirate"); }},
        {"no signature", [&] { Publish(good); server_.bodies.erase("http://serveur.test/logiciels/catalogue.sig"); server_.missing = 404; }},
        {"a portal's page", [&] { Publish("<html>Connectez-vous</html>"); }},
    };
    for (const auto& [what, publish] : cases) {
        server_.bodies.clear();
        server_.missing = result::kNoConnection;
        publish();
        server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
        downloads_.StartAfresh();
        EXPECT_NE(Get(), result::kDone) << what;
        EXPECT_TRUE(server_.downloads.empty()) << what;
        EXPECT_EQ(downloads_.Catalogue(), nullptr) << what;
    }
    EXPECT_EQ(files_.contents.count(kSerials), 0u);
}

TEST_F(TrustedDownloads, AServerThatCannotBeReachedIsAnOrdinaryFailure) {
    EXPECT_EQ(Get(), result::kNoConnection);
}

TEST_F(TrustedDownloads, AnOlderCatalogueIsARefusedReplayAndTheSameOneIsNot) {
    files_.contents[kSerials] = "demo\t5\r\nautre\t9\r\n";
    Publish(CatalogueText(4));
    EXPECT_EQ(Get(), result::kNotVerified);
    Publish(CatalogueText(5));
    server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
    EXPECT_EQ(Get(), result::kDone);
    Publish(CatalogueText(8));
    downloads_.StartAfresh();
    EXPECT_EQ(Get(), result::kDone);
    EXPECT_EQ(files_.contents[kSerials], "autre\t9\r\ndemo\t8\r\n");
}

TEST_F(TrustedDownloads, AWriteProtectedDriveStillChecksWhatItHolds) {
    files_.contents[kSerials] = "demo\t5\r\n";
    files_.writable = false;
    Publish(CatalogueText(6));
    server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
    EXPECT_EQ(Get(), result::kDone);
    Publish(CatalogueText(4));
    downloads_.StartAfresh();
    EXPECT_EQ(Get(), result::kNotVerified);
}

// A new key signs, and the catalogue carries the built-in key's word for it.
TEST_F(TrustedDownloads, ANewKeyEndorsedByATrustedOneIsAccepted) {
    const std::string statement = EndorsementStatement("suivante", "cle-suivante");
    const std::string endorsed = "signing-key\tsuivante\t" + ToHex("cle-suivante") + "\nendorsement\tdemo\t" +
                                 ToHex(FakeSignatures::Sign(statement, "cle-demo")) + "\n";
    Publish(CatalogueText(1, "suivante", endorsed), "cle-suivante");
    server_.bodies[std::string(kBase) + kArchivePath] = kArchive;
    EXPECT_EQ(Get(), result::kDone);

    // Vouched for by a key nobody trusts, or with a forged word: refused.
    const std::string forged = "signing-key\tsuivante\t" + ToHex("cle-suivante") + "\nendorsement\tdemo\t" +
                               ToHex(FakeSignatures::Sign(statement, "cle-pirate")) + "\n";
    Publish(CatalogueText(2, "suivante", forged), "cle-suivante");
    downloads_.StartAfresh();
    EXPECT_EQ(Get(), result::kNotVerified);
    const std::string stranger = "signing-key\tsuivante\t" + ToHex("cle-suivante") + "\nendorsement\tpirate\t" +
                                 ToHex(FakeSignatures::Sign(statement, "cle-pirate")) + "\n";
    Publish(CatalogueText(2, "suivante", stranger), "cle-suivante");
    downloads_.StartAfresh();
    EXPECT_EQ(Get(), result::kNotVerified);
}

TEST_F(TrustedDownloads, MirrorsServeWhatTheMainServerCannotAndAreCheckedTheSameWay) {
    Publish(CatalogueText(3, "demo", "mirror\thttp://miroir1.test\nmirror\thttp://miroir2.test\n"));
    server_.bodies[std::string("http://miroir2.test") + kArchivePath] = kArchive;
    EXPECT_EQ(Get(), result::kDone);
    ASSERT_EQ(server_.downloads.size(), 3u);
    EXPECT_EQ(server_.downloads[2].url, std::string("http://miroir2.test") + kArchivePath);
    EXPECT_EQ(server_.downloads[2].expected.sha256, kArchive);

    // A refused file is not looked for elsewhere (only against a fresh catalogue).
    server_.downloads.clear();
    server_.bodies[std::string(kBase) + kArchivePath] = std::string(64, 'e');
    EXPECT_EQ(Get(), result::kNotVerified);
    ASSERT_EQ(server_.downloads.size(), 2u);
    EXPECT_EQ(server_.downloads[1].url, std::string(kBase) + kArchivePath);
}

TEST(AcceptedSerials, KeepTheHighestOfEachKeyAndIgnoreGarbage) {
    const AcceptedSerials serials = ParseAcceptedSerials("demo\t4\r\ndemo\t2\nbruit\nautre\tx\nneuve\t10");
    EXPECT_EQ(serials, (AcceptedSerials{{"demo", 4}, {"neuve", 10}}));
    EXPECT_EQ(ParseAcceptedSerials(FormatAcceptedSerials(serials)), serials);
}

}  // namespace
