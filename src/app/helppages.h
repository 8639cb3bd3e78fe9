#pragma once
// The manual beside the program: one HTML page per window or subject ("model.html") in the
// help folder, and the index page "index.html" that leads to all of them. Which page answers
// which request is the help requests' table (app/ui/helprequests.h).

#include <QString>

namespace qz {

inline constexpr const char* kHelpIndexPage = "index.html";
inline constexpr const char* kHelpFrameKeyword = "Frame Window";
// Help > Contents asks for this topic.
inline constexpr int kHelpContentsTopic = 3;

// The help folder: the program's data folder + "help/".
QString HelpFolder();
// The path of a page of `folder` ("model.html" -> "<folder>/model.html").
QString HelpPagePath(const QString& folder, const QString& page);
// The text shown over the index when a page is missing: The page "x.html" is missing from
// <folder>.
QString MissingHelpPageText(const QString& folder, const QString& page);

}  // namespace qz
