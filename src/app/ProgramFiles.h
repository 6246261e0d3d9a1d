#pragma once
#include <QString>

// Names of the small data files kept in the program folder.
namespace dovi {

inline const QString kLogoFileName = QStringLiteral("dovilogo.jpg");
inline const QString kSeriesFileName = QStringLiteral("series.dat");
inline const QString kTempSeriesFileName = QStringLiteral("tempseries.dat");
inline const QString kQuickLinksFileName = QStringLiteral("qlinks.dat");
inline const QString kTempLinksFileName = QStringLiteral("templink.dat");
inline const QString kTempFolderName = QStringLiteral("Temp");

// Folder and name joined as the whole program joins them: directly when the
// folder already ends with "/" (the root), otherwise with "/" between.
QString joinPath(const QString& folder, const QString& name);

QString programFilePath(const QString& programFolder, const QString& name);

// Writes the logo that ships inside the program into the program folder when
// it is missing there (a first run, or a user deleted it). Returns its path.
QString ensureLogo(const QString& programFolder);

// Deletes the plain files of the program folder's "Temp" folder. Links and
// sub-folders are left alone (a link may lead out of the folder), and so is a
// "Temp" that is itself a link. Returns how many files were deleted.
int emptyTempFolder(const QString& programFolder);

} // namespace dovi
