#pragma once

#include <QString>
#include <QStringList>

namespace vorlane {
class clsShowForm;
}

namespace vorlane::app {

// The windows `vorlane` opens, by the name given on its command line.
QStringList windowNames();

// Shows a browser as a host would: modally, returning when the user closes it. With a screenshot
// directory it shows the browser modeless, brings it to a telling state (a set with its items, a
// province of the administrative divisions, a category with members), saves a picture, closes it
// and returns; 1 when the picture could not be saved.
int showBrowser(clsShowForm &form, const QString &window, const QString &screenshotDir);

} // namespace vorlane::app
