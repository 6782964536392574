#include "tls/LocalCertificates.h"

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace journal::tls {
namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long authorityDays = 3650;
constexpr long serverDays = 1825;

void require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("cannot make the local certificates: ") + what);
}

Key newKey() {
    Key key(EVP_EC_gen("P-256"), &EVP_PKEY_free);
    require(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    require(extension != nullptr, "certificate extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

Certificate newCertificate(EVP_PKEY* key, const char* commonName, long days) {
    Certificate certificate(X509_new(), &X509_free);
    require(certificate != nullptr, "certificate");
    X509_set_version(certificate.get(), 2);
    // A random serial, so a browser or client that cached an older certificate never confuses the two.
    unsigned char serialBytes[16];
    require(RAND_bytes(serialBytes, sizeof serialBytes) == 1, "random serial");
    serialBytes[0] &= 0x7F;
    BIGNUM* serial = BN_bin2bn(serialBytes, sizeof serialBytes, nullptr);
    BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(certificate.get()));
    BN_free(serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), days * 24 * 3600);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME* name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("Repair journal"), -1,
                               -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                               0);
    return certificate;
}

void sign(X509* certificate, EVP_PKEY* issuerKey) {
    require(X509_sign(certificate, issuerKey, EVP_sha256()) > 0, "signing");
}

// The file gets its permissions when it is created, so a private key is never readable by others, not even briefly.
void writeFile(const std::filesystem::path& path, mode_t mode, const auto& write) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    require(descriptor >= 0, "writing a file");
    std::unique_ptr<FILE, decltype(&std::fclose)> file(::fdopen(descriptor, "w"), &std::fclose);
    if (file == nullptr)
        ::close(descriptor);
    require(file != nullptr, "writing a file");
    require(write(file.get()) == 1, "writing PEM");
}

} // namespace

CertificateFiles ensureLocalCertificates(const std::filesystem::path& directory) {
    const CertificateFiles files{directory / "ca.pem", directory / "server.pem", directory / "server.key"};
    if (std::filesystem::exists(files.authority) && std::filesystem::exists(files.certificate) &&
        std::filesystem::exists(files.key))
        return files;
    std::filesystem::create_directories(directory);

    const Key authorityKey = newKey();
    const Certificate authority = newCertificate(authorityKey.get(), "Repair journal local CA", authorityDays);
    X509_set_issuer_name(authority.get(), X509_get_subject_name(authority.get()));
    addExtension(authority.get(), authority.get(), NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
    addExtension(authority.get(), authority.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(authority.get(), authority.get(), NID_subject_key_identifier, "hash");
    sign(authority.get(), authorityKey.get());

    const Key serverKey = newKey();
    const Certificate server = newCertificate(serverKey.get(), "localhost", serverDays);
    X509_set_issuer_name(server.get(), X509_get_subject_name(authority.get()));
    addExtension(server.get(), authority.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(server.get(), authority.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment");
    addExtension(server.get(), authority.get(), NID_ext_key_usage, "serverAuth");
    addExtension(server.get(), authority.get(), NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1,IP:::1");
    addExtension(server.get(), authority.get(), NID_authority_key_identifier, "keyid:always");
    sign(server.get(), authorityKey.get());

    std::filesystem::remove(files.key);
    writeFile(files.key, 0600, [&](FILE* file) {
        return PEM_write_PrivateKey(file, serverKey.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    writeFile(files.certificate, 0644, [&](FILE* file) { return PEM_write_X509(file, server.get()); });
    // Written last: its presence says the set is complete.
    writeFile(files.authority, 0644, [&](FILE* file) { return PEM_write_X509(file, authority.get()); });
    return files;
}

} // namespace journal::tls
