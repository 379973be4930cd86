#include "contentgen/content_name.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <stdexcept>

namespace contentgen {
namespace {

constexpr std::string_view kExtension = ".jpg";
constexpr std::size_t kHashDigits = 16;

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string ContentHash(std::string_view bytes) {
  const QByteArray digest = QCryptographicHash::hash(
      QByteArrayView(bytes.data(), qsizetype(bytes.size())), QCryptographicHash::Sha256);
  return digest.toHex().left(kHashDigits).toStdString();
}

std::string ContentHashedName(std::string_view name, std::string_view bytes) {
  if (!name.ends_with(kExtension) || name.size() == kExtension.size()) {
    throw std::invalid_argument("\"" + std::string(name) +
                                "\" is not a picture name ending in .jpg");
  }
  name.remove_suffix(kExtension.size());
  return std::string(name) + "." + ContentHash(bytes) + std::string(kExtension);
}

std::optional<std::string> HashInName(std::string_view name) {
  // stem "." hash ".jpg", with a stem of at least one byte
  constexpr std::size_t kTail = 1 + kHashDigits + kExtension.size();
  if (name.size() <= kTail || !name.ends_with(kExtension)) return std::nullopt;
  const std::string_view tail = name.substr(name.size() - kTail);
  const std::string_view hash = tail.substr(1, kHashDigits);
  if (tail.front() != '.') return std::nullopt;
  for (const char c : hash) {
    if (!IsLowerHex(c)) return std::nullopt;
  }
  return std::string(hash);
}

}  // namespace contentgen
