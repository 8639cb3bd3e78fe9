#include "app/ui/windows/windowcontext.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qz {

namespace {

std::vector<std::pair<const char*, TWindowRegistration>>& Announced() {
  static std::vector<std::pair<const char*, TWindowRegistration>> list;
  return list;
}

}  // namespace

TWindowAnnouncement::TWindowAnnouncement(const char* name, TWindowRegistration registration) {
  Announced().emplace_back(name, registration);
}

void RegisterAllToolWindows(TWindowContext& ctx) {
  auto list = Announced();
  std::sort(list.begin(), list.end(),
            [](const auto& a, const auto& b) { return std::strcmp(a.first, b.first) < 0; });
  for (const auto& [name, registration] : list) registration(ctx);
}

QStringList AnnouncedToolWindows() {
  QStringList out;
  for (const auto& a : Announced()) out << QString::fromLatin1(a.first);
  out.sort();
  return out;
}

}  // namespace qz
