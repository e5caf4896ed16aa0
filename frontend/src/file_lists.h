// The chained drive, folder and file lists of the setup window.
#pragma once

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QString>
#include <QStringList>

namespace tessalin {

// The drives: mounted volumes, each remembering its own current folder.
class DriveList : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(QWidget* parent = nullptr);

  // The volumes to offer and the folder to start in; the volume holding it
  // is selected and gets it as its current folder.
  void SetVolumes(const QStringList& volumes, const QString& startFolder);
  QString Drive() const;  // the selected volume's mount point
  // The selected drive's current folder (its mount point until changed).
  QString CurrentFolder() const;
  // Records folder as the current folder of the drive that holds it.
  void RememberFolder(const QString& folder);

 signals:
  // The user (or a program step) selected another drive.
  void driveChanged(const QString& drive);

 private:
  QHash<QString, QString> currentFolders_;
};

// The folder list: the chain of folders from the root down to the chosen one,
// then the chosen folder's subfolders. A double-click or Enter opens a folder.
class FolderList : public QListWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);

  // Chooses folder and lists it; emits folderChanged when it differs.
  void SetPath(const QString& folder);
  QString Path() const { return path_; }

 signals:
  void folderChanged(const QString& folder);

 private:
  void Fill();
  QString path_;
};

// The file list: the names in one folder that match a pattern, in order.
class FileList : public QListWidget {
  Q_OBJECT
 public:
  FileList(QWidget* parent, const QString& pattern);

  void SetFolder(const QString& folder);  // and lists it
  QString Folder() const { return folder_; }
  void Refresh();            // lists the folder again, no selection
  QString FileName() const;  // the selected name, or empty
  QString FilePath() const;  // folder joined with FileName()

 signals:
  // A name was clicked (selected by the user).
  void fileClicked(const QString& name);

 private:
  QString folder_;
  QString pattern_;
};

}  // namespace tessalin
