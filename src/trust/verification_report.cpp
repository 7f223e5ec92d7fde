#include "trust/verification_report.h"

#include <vector>

#include "config/build_settings.h"
#include "platform/downloader.h"

namespace {

// Each part at most six digits: a version, not a number to overflow.
std::vector<long> Parts(std::string_view text) {
    std::vector<long> parts;
    long part = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == '.') {
            if (digits == 0) return {};
            parts.push_back(part);
            part = 0;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 6) {
            part = part * 10 + (c - '0');
            ++digits;
        } else {
            return {};
        }
    }
    if (digits == 0) return {};
    parts.push_back(part);
    return parts;
}

}  // namespace

std::string NotVerifiedReport(std::string_view what) {
    return WithSupportAddress("Le fichier de " + std::string(what) +
                              " reçu du serveur n'a pas pu être vérifié : il ne correspond pas au catalogue signé "
                              "de Cantarel. Rien n'a été installé ni démarré. Recommencez ultérieurement ou "
                              "contactez ");
}

std::optional<std::string> ExplainedDownloadFailure(std::int32_t downloaded, std::string_view what) {
    if (downloaded == download_result::kNotVerified) return NotVerifiedReport(what);
    if (downloaded == 407) {
        return WithSupportAddress("Le serveur mandataire (proxy) de ce réseau a refusé le téléchargement de " +
                                  std::string(what) +
                                  " : il demande une identification que Windows ne lui a pas fournie. Demandez "
                                  "l'accès à l'administrateur du réseau, ou contactez ");
    }
    return std::nullopt;
}

bool IsVersion(std::string_view text) { return !Parts(text).empty(); }

bool IsLaterVersion(std::string_view offered, std::string_view running) {
    std::vector<long> a = Parts(offered);
    std::vector<long> b = Parts(running);
    if (a.empty() || b.empty()) return false;
    // "1.4" and "1.4.0" are the same version.
    const std::size_t size = std::max(a.size(), b.size());
    a.resize(size, 0);
    b.resize(size, 0);
    return a > b;
}
