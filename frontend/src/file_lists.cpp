#include "file_lists.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

#include "platform.h"

namespace tessalin {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit driveChanged(Drive()); });
}

void DriveList::SetVolumes(const QStringList& volumes, const QString& startFolder) {
  const QSignalBlocker blocker(this);
  clear();
  currentFolders_.clear();
  for (const QString& volume : volumes) {
    addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), volume, volume);
    currentFolders_.insert(volume, volume);
  }
  const QString start = QDir::cleanPath(QFileInfo(startFolder).absoluteFilePath());
  const QString home = VolumeOf(start, volumes);
  currentFolders_.insert(home, start);
  setCurrentIndex(findData(home));
}

QString DriveList::Drive() const { return currentData().toString(); }

QString DriveList::CurrentFolder() const { return currentFolders_.value(Drive(), Drive()); }

void DriveList::RememberFolder(const QString& folder) {
  QStringList volumes;
  for (int i = 0; i < count(); ++i) volumes << itemData(i).toString();
  const QString volume = VolumeOf(folder, volumes);
  if (!volume.isEmpty()) currentFolders_.insert(volume, folder);
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { SetPath(item->data(Qt::UserRole).toString()); });
}

void FolderList::SetPath(const QString& folder) {
  const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  const bool changed = clean != path_;
  path_ = clean;
  Fill();
  if (changed) emit folderChanged(path_);
}

void FolderList::Fill() {
  clear();
  // The chain from the root down to the chosen folder.
  QStringList chain;
  for (QDir dir(path_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  int depth = 0;
  for (const QString& folder : chain) {
    const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
    auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(Qt::UserRole, folder);
    if (folder == path_) setCurrentItem(item);
    ++depth;
  }
  const QStringList children =
      QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + child, this);
    item->setData(Qt::UserRole, QDir(path_).filePath(child));
  }
}

FileList::FileList(QWidget* parent, const QString& pattern)
    : QListWidget(parent), pattern_(pattern) {
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void FileList::SetFolder(const QString& folder) {
  folder_ = folder;
  Refresh();
}

void FileList::Refresh() {
  clear();
  if (folder_.isEmpty()) return;
  // Name patterns match without regard to case, as on the original platform.
  const QStringList names = QDir(folder_).entryList({pattern_}, QDir::Files | QDir::Readable,
                                                    QDir::Name | QDir::IgnoreCase);
  addItems(names);
  setCurrentRow(-1);
}

QString FileList::FileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

QString FileList::FilePath() const {
  const QString name = FileName();
  return name.isEmpty() ? QString() : QDir(folder_).filePath(name);
}

}  // namespace tessalin
