#pragma once

#include <filesystem>

namespace journal::tls {

struct CertificateFiles {
    std::filesystem::path authority; // the CA certificate that clients trust
    std::filesystem::path certificate;
    std::filesystem::path key;
};

// Makes a local CA and a server certificate for localhost and 127.0.0.1 in `directory`, unless all three files
// are already there. The CA's private key is dropped after signing: nothing else is ever issued with it.
// Throws std::runtime_error when OpenSSL or the file system fails.
CertificateFiles ensureLocalCertificates(const std::filesystem::path& directory);

} // namespace journal::tls
