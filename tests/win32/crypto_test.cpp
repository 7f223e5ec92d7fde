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

class Sha256NiTest : public testing::Test {
protected:
    void SetUp() override {
        if (!Sha256Ni::Supported()) GTEST_SKIP() << "this processor has no SHA instructions";
    }
    static std::string Digest(const std::string& message) {
        Sha256Ni hash;
        hash.Add(message);
        return hash.HexDigest();
    }
};

// The standard's own examples: empty, one block, two blocks, a million bytes.
TEST_F(Sha256NiTest, GivesTheStandardsDigests) {
    EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Digest(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// A download arrives in pieces of any length: every way of cutting the same
// bytes gives the same digest, across the padding's edge cases too.
TEST_F(Sha256NiTest, PiecesOfAnyLengthGiveTheDigestOfTheWhole) {
    for (std::size_t size : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
        std::string message;
        for (std::size_t i = 0; i < size; ++i) message += static_cast<char>((i * 131 + 7) & 0xFF);
        const std::string whole = Digest(message);
        for (std::size_t piece : {1u, 3u, 63u, 64u, 100u}) {
            Sha256Ni hash;
            for (std::size_t at = 0; at < size; at += piece) hash.Add(std::string_view(message).substr(at, piece));
            EXPECT_EQ(hash.HexDigest(), whole) << size << " bytes in pieces of " << piece;
        }
    }
    // Asked twice, the digest is the same.
    Sha256Ni hash;
    hash.Add("abc");
    hash.HexDigest();
    EXPECT_EQ(hash.HexDigest(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// The processor's instructions and the system's provider agree on pieces of
// many lengths (the download's check uses the first where it can).
TEST(Win32Sha256, TheProcessorsInstructionsAgreeWithTheSystemsProvider) {
    if (!Sha256Ni::Supported()) GTEST_SKIP() << "this processor has no SHA instructions";
    HCRYPTPROV provider = 0;
    ASSERT_TRUE(CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT));
    std::string data;
    for (std::size_t i = 0; i < 300000; ++i) data += static_cast<char>((i * 2654435761u) >> 24);
    for (std::size_t size : {0u, 1u, 55u, 64u, 1000u, 65537u, 300000u}) {
        HCRYPTHASH system = 0;
        ASSERT_TRUE(CryptCreateHash(provider, ALG_CLASS_HASH | ALG_TYPE_ANY | 12, 0, 0, &system));
        ASSERT_TRUE(CryptHashData(system, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(size), 0));
        BYTE digest[32];
        DWORD length = sizeof digest;
        ASSERT_TRUE(CryptGetHashParam(system, HP_HASHVAL, digest, &length, 0));
        CryptDestroyHash(system);
        std::string expected;
        for (BYTE byte : digest) expected += "0123456789abcdef"[byte >> 4], expected += "0123456789abcdef"[byte & 15];
        Sha256Ni fast;
        for (std::size_t at = 0; at < size; at += 4093) fast.Add(std::string_view(data).substr(at, std::min<std::size_t>(4093, size - at)));
        EXPECT_EQ(fast.HexDigest(), expected) << size << " bytes";
    }
    CryptReleaseContext(provider, 0);
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
