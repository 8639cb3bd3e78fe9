#pragma once
// Every way the program asks for help, one row each: where the request comes from (a tool
// window's setup section or a fixed name), the caption its page must name, how the operator
// asks, the request itself (the topic number or keyword the window asks with), what it does
// (open a page, minimise the program, or show a message) and the page with its anchor.
//
// The help viewer resolves topic numbers and keywords through these rows; the F1 key finds the
// row of the window it was pressed in by the mark the window got at its creation.

#include <QString>
#include <vector>

class QObject;

namespace qz {

enum class THelpAction { Open, Minimise, Message };

struct THelpRequest {
  QString origin;   // the registry section, or a fixed name for a window outside the registry
  QString caption;  // the start of the window's title (for a menu item, the item's text)
  QString how;      // the Help button's object name, "F1" or "menu F1" (several: "btHelp, F1")
  int topic = 0;    // the topic number asked for (0: none)
  QString keyword;  // the keyword asked for (empty: none)
  THelpAction action = THelpAction::Open;
  QString page;    // the page's name without ".html"
  QString anchor;  // the anchor on the page (empty: its top; "*": the display type's name)
};

// Fixed origins of the requests that do not come from a registered tool window.
inline constexpr const char* kHelpOriginContents = "HelpContents";
inline constexpr const char* kHelpOriginTools = "ToolsTransfer";
inline constexpr const char* kHelpOriginComPort = "ComPortDlg";
inline constexpr const char* kHelpOriginLabels = "LabelsBox";
inline constexpr const char* kHelpOriginDisplay = "DForm";

// The rows, in menu and window order.
const std::vector<THelpRequest>& HelpRequests();
// The row of an origin (letter case ignored); nullptr when there is none.
const THelpRequest* HelpRequestOf(const QString& origin);
// The first row asking with the topic or the keyword (letter case ignored); nullptr: none.
const THelpRequest* HelpRequestForTopic(int topic);
const THelpRequest* HelpRequestForKeyword(const QString& keyword);
// The page's file name, "model.html".
QString HelpPageFile(const THelpRequest& row);

// Marks a window with the origin of its row (done once, when the window is made).
void MarkHelpRow(QObject* window, const QString& origin);
// The mark of an object (empty: none).
QString HelpRowMark(const QObject* object);

}  // namespace qz
