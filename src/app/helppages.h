#pragma once
// The help pages beside the program: one HTML page per topic number ("topic_158.html") or
// keyword ("Results Windows" -> "results_windows.html") in the help folder, and the index page
// "index.html" for anything that has no page of its own.

#include <QString>

namespace qz {

inline constexpr const char* kHelpIndexPage = "index.html";
inline constexpr const char* kHelpFrameKeyword = "Frame Window";

// The help folder: the program's data folder + "help/".
QString HelpFolder();
// The page file of a topic number or a keyword in `folder`; the index page when the topic's own
// page does not exist.
QString HelpPageForTopic(const QString& folder, int topic);
QString HelpPageForKeyword(const QString& folder, const QString& keyword);

}  // namespace qz
