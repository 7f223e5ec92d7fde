#include "platform/win32/win32_crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/wide_text.h"
#include "trust/signed_catalogue.h"

namespace {

// Vectors the signing tool made (tools/sign_tree.py): a catalogue, its
// signature by the demo key, and the public key of another.
std::string Vector(const std::string& name) {
    std::string path = std::string("Z:") + CANTAREL_SIGNATURE_VECTORS + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    std::ifstream in(Widen(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Digest(std::string_view bytes) {
    Win32Sha256 hash;
    EXPECT_TRUE(hash.Ok());
    EXPECT_TRUE(hash.Add(bytes));
    return hash.HexDigest();
}

TEST(Win32Sha256, GivesThePublishedDigestsPieceByPiece) {
    EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    Win32Sha256 million;
    const std::string piece(1000, 'a');
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(million.Add(piece));
    EXPECT_EQ(million.HexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Pieces of every size, more of them than the ring holds: the digest is the
// same as hashing in one go, and a hash dropped midway ends cleanly.
TEST(BackgroundSha256, HashesPiecesHandedThroughItsRingOfBuffers) {
    BackgroundSha256 hash;
    ASSERT_TRUE(hash.Ok());
    std::size_t done = 0;
    for (std::size_t piece = 1; done < 1000000; piece = piece * 7 % BackgroundSha256::kBufferSize + 1) {
        const std::size_t length = std::min(piece, 1000000 - done);
        std::fill_n(hash.NextBuffer(), length, 'a');
        hash.Hand(length);
        done += length;
    }
    EXPECT_EQ(hash.Finish(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(hash.Finish(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    BackgroundSha256 dropped;
    std::fill_n(dropped.NextBuffer(), 10, 'x');
    dropped.Hand(10);
    dropped.NextBuffer();
}

class Win32SignatureCheckTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(catalogue_.empty()) << "no vectors at " << CANTAREL_SIGNATURE_VECTORS;
        ASSERT_EQ(signature_.size(), 384u);  // RSA 3072
    }
    std::string catalogue_ = Vector("catalogue");
    std::string signature_ = Vector("catalogue.sig");
    std::string demoKey_ = Vector("../../../tools/keys/demo.keyblob");
    Win32SignatureCheck check_;
};

TEST_F(Win32SignatureCheckTest, TheSigningToolsSignatureVerifies) {
    EXPECT_TRUE(check_.Verify(catalogue_, signature_, demoKey_));
    // And what it signs is a catalogue the launcher reads.
    const auto parsed = ParseCatalogue(catalogue_);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Find("/logiciels/portable1.4/Cantarel/abc.exe")->sha256, Digest("abc"));
}

TEST_F(Win32SignatureCheckTest, AnyChangeOrAnotherKeyFails) {
    for (std::size_t at : {std::size_t{0}, catalogue_.size() / 2, catalogue_.size() - 1}) {
        std::string changed = catalogue_;
        changed[at] ^= 0x01;
        EXPECT_FALSE(check_.Verify(changed, signature_, demoKey_)) << "text byte " << at;
        std::string forged = signature_;
        forged[at % forged.size()] ^= 0x01;
        EXPECT_FALSE(check_.Verify(catalogue_, forged, demoKey_)) << "signature byte " << at;
    }
    EXPECT_FALSE(check_.Verify(catalogue_, signature_, Vector("other.keyblob")));
    EXPECT_FALSE(check_.Verify(catalogue_, signature_.substr(1), demoKey_));
    EXPECT_FALSE(check_.Verify(catalogue_, "", demoKey_));
    EXPECT_FALSE(check_.Verify(catalogue_, signature_, "not a key"));
    EXPECT_FALSE(check_.Verify(catalogue_ + "file\t/logiciels/x.exe\t1\t" + std::string(64, '0') + "\n", signature_,
                               demoKey_));
}

}  // namespace
