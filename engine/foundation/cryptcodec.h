// The engine's cipher: Blowfish keyed from a 12-character base64 key text,
// with optional base64 armour of the ciphertext.
#pragma once

#include "foundation/blowfish.h"
#include "foundation/tstring.h"

#include <cstdint>

class TCryptCodec {
public:
    explicit TCryptCodec(const TString& key);
    TCryptCodec(const TCryptCodec&) = delete;
    TCryptCodec& operator=(const TCryptCodec&) = delete;

    // The key text is padded or cut to 12 characters, its last three forced
    // to "AAA", and decoded to the 9 bytes that key the cipher.
    void SetKey(const TString& key);

    // Both return 0 when the result was copied to output, else the size the
    // output needs (nothing is copied). Base64 output is NUL-terminated and
    // its needed size counts the NUL.
    int Encrypt(const uint8_t* input, int length, uint8_t* output, int capacity, bool base64);
    int Decrypt(const uint8_t* input, int length, uint8_t* output, int capacity, bool base64);

    // Bytes copied to the caller by the last successful Encrypt or Decrypt.
    int GetLastLength() const { return mLastLength; }

    // Decrypts base64 text; the plaintext up to its first NUL, empty on failure.
    TString DecryptString(const TString& text);

private:
    TBlowfish mFish;
    int mLastLength = 0;
};
