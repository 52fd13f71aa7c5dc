#include "ui/options_window.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#ifdef Q_OS_WIN
#include "line/serial_ports.h"
#else
#include <QSerialPortInfo>
#endif
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace qel {

OptionsWindow::OptionsWindow(Session& session, ConfigStore& store, Language& language,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), store_(store), language_(language) {
    setObjectName("OptionsForm");
    buildFolderBox();
    connectFolderTree();
    buildMiscBox();
    save_ = new QPushButton(this);
    save_->setObjectName("SaveOpt");
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    layOut();
    setWorkingDir(session_.workingDir());
    setTexts();
    showStoredChoices();
    shown_ = chosenConfig();
}

void OptionsWindow::buildFolderBox() {
    folderBox_ = new QGroupBox(this);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QStringLiteral("/"));
    folderTree_ = new QTreeView(folderBox_);
    folderTree_->setObjectName("DirGet");
    folderTree_->setModel(folders_);
    folderTree_->setHeaderHidden(true);
    for (int c = 1; c < folders_->columnCount(); ++c)
        folderTree_->hideColumn(c);
    folderTree_->setMinimumSize(220, 220);
    folderText_ = new QLabel(folderBox_);
    folderText_->setObjectName("Dirch");
    auto* dirLayout = new QVBoxLayout(folderBox_);
    dirLayout->addWidget(folderTree_, 1);
    dirLayout->addWidget(folderText_);
}

void OptionsWindow::connectFolderTree() {
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid()) {
                    dir_ = folders_->filePath(index);
                    folderText_->setText(shortPath(dir_));
                }
            });
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (dir_.startsWith(loaded)) showFolderInTree();
    });
    // The model sorts and inserts the rows it loads later: the folder is shown again then,
    // once the view has laid them out.
    const auto showLater = [this] {
        if (showPending_) return;
        showPending_ = true;
        QTimer::singleShot(0, this, [this] {
            showPending_ = false;
            showFolderInTree();
        });
    };
    connect(folders_, &QFileSystemModel::layoutChanged, this, showLater);
    connect(folders_, &QFileSystemModel::rowsInserted, this, showLater);
}

void OptionsWindow::buildMiscBox() {
    miscBox_ = new QGroupBox(this);
    portChoice_ = new QComboBox(miscBox_);
    portChoice_->setObjectName("optPort");
    for (const auto& [text, stored] : portChoices())
        portChoice_->addItem(text, stored);
    // Any device can be typed in: a pseudo-terminal, or a link to an adapter.
    portChoice_->setEditable(true);
    portChoice_->setInsertPolicy(QComboBox::NoInsert);
    languageChoice_ = new QComboBox(miscBox_);
    languageChoice_->setObjectName("Lang");
    languageChoice_->addItem(QStringLiteral("English"));
    languageChoice_->addItem(QStringLiteral("Italiano"));
    rememberExportLayout_ = new QCheckBox(miscBox_);
    rememberExportLayout_->setObjectName("optLayout");
    dataRowAtStart_ = new QCheckBox(miscBox_);
    dataRowAtStart_->setObjectName("OptBox");
    backupBeforeUpload_ = new QCheckBox(miscBox_);
    backupBeforeUpload_->setObjectName("optBackup");
    verifyAfterUpload_ = new QCheckBox(miscBox_);
    verifyAfterUpload_->setObjectName("optVerify");
    askOnCheckErrors_ = new QCheckBox(miscBox_);
    askOnCheckErrors_->setObjectName("optCheck");
    auto* misc = new QFormLayout(miscBox_);
    const auto addRow = [this, misc](QLabel*& label, QWidget* field) {
        label = new QLabel(miscBox_);
        label->setBuddy(field);
        misc->addRow(label, field);
    };
    addRow(portLabel_, portChoice_);
    addRow(languageLabel_, languageChoice_);
    addRow(layoutLabel_, rememberExportLayout_);
    addRow(dataRowLabel_, dataRowAtStart_);
    addRow(backupLabel_, backupBeforeUpload_);
    addRow(verifyLabel_, verifyAfterUpload_);
    addRow(askOnCheckErrorsLabel_, askOnCheckErrors_);
}

void OptionsWindow::layOut() {
    auto* right = new QVBoxLayout;
    right->addWidget(miscBox_);
    right->addStretch(1);
    right->addWidget(save_, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(folderBox_, 1);
    layout->addLayout(right);
}

void OptionsWindow::showStoredChoices() {
    const Config& config = session_.config();
    rememberExportLayout_->setChecked(config.rememberExportLayout);
    dataRowAtStart_->setChecked(config.dataRowAtStart);
    backupBeforeUpload_->setChecked(config.backupBeforeUpload);
    verifyAfterUpload_->setChecked(config.verifyAfterUpload);
    askOnCheckErrors_->setChecked(config.askOnCheckErrors);
    const QString stored = config.comPortText.trimmed();
    const int port = portChoice_->findData(stored);
    if (port >= 0 || stored.isEmpty()) {
        portChoice_->setCurrentIndex(std::max(port, 0));
    } else {
        portChoice_->setEditText(stored);
    }
}

namespace {

// The number of a Windows port name "COM1" to "COM256"; 0 for any other name.
int comNumber(const QString& name) {
    if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) || name.size() < 4 ||
        name.size() > 6 || name[3] == '0') {
        return 0;
    }
    int number = 0;
    for (const QChar c : name.mid(3)) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + (c.unicode() - '0');
    }
    return number <= 256 ? number : 0;
}

QString withDescription(QString text, const QString& description) {
    if (!description.isEmpty()) text += QStringLiteral("  (") + description + ')';
    return text;
}

QList<QPair<QString, QString>> windowsPortChoices(const QList<OptionsWindow::FoundPort>& found) {
    // Indexed by port number; a port reported twice keeps its first description.
    std::vector<std::optional<QString>> descriptions(257);
    for (const auto& port : found) {
        const int number = comNumber(port.name);
        if (number > 0 && !descriptions[number]) descriptions[number] = port.description;
    }
    QList<QPair<QString, QString>> ports;
    for (int number = 1; number <= 256; ++number) {
        if (number > 4 && !descriptions[number]) continue;
        const QString description = descriptions[number].value_or(QString());
        ports.append({withDescription(QStringLiteral("COM%1").arg(number), description),
                      QString::number(number)});
    }
    return ports;
}

QList<QPair<QString, QString>> posixPortChoices(const QList<OptionsWindow::FoundPort>& found) {
    QList<QPair<QString, QString>> ports;
    for (int i = 1; i <= 4; ++i) {
        ports.append(
            {QStringLiteral("COM%1  (/dev/ttyS%2)").arg(i).arg(i - 1), QString::number(i)});
    }
    for (const auto& port : found) {
        const QString& device = port.location;
        if (device.startsWith(QLatin1String("/dev/ttyS")) && device.size() == 10 &&
            device.back() >= '0' && device.back() <= '3') {
            continue;  // one of COM1-COM4
        }
        ports.append({withDescription(device, port.description), device});
    }
    return ports;
}

}  // namespace

QList<QPair<QString, QString>> OptionsWindow::portChoices(const QList<FoundPort>& found,
                                                          PortRules rules) {
    return rules == PortRules::Windows ? windowsPortChoices(found) : posixPortChoices(found);
}

QList<QPair<QString, QString>> OptionsWindow::portChoices() {
    QList<FoundPort> found;
#ifdef Q_OS_WIN
    for (const ReportedPort& port : reportedSerialPorts()) {
        const QString name = QString::fromStdString(port.name);
        found.append({name, QStringLiteral("\\\\.\\") + name, QString::fromStdString(port.device)});
    }
    return portChoices(found, PortRules::Windows);
#else
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        found.append({info.portName(), info.systemLocation(), info.description()});
    return portChoices(found, PortRules::Posix);
#endif
}

QString OptionsWindow::shortPath(const QString& path) {
    if (path.size() < 44) return path;
    return path.left(20) + QStringLiteral("....") + path.right(20);
}

void OptionsWindow::setWorkingDir(const QString& path) {
    dir_ = path;
    folderText_->setText(shortPath(path));
    showFolderInTree();
}

void OptionsWindow::showFolderInTree() {
    // The folder model loads in the background: the folder is shown once its parents are.
    const QModelIndex index = folders_->index(dir_);
    if (!index.isValid()) return;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        folderTree_->expand(p);
    if (folderTree_->currentIndex() != index) {
        const QSignalBlocker block(folderTree_->selectionModel());
        folderTree_->setCurrentIndex(index);
    }
    folderTree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString OptionsWindow::shownDir() const {
    return folderText_->text();
}

void OptionsWindow::setTexts() {
    setWindowTitle(tr("QEL - Options"));
    miscBox_->setTitle(tr(" Miscellaneous "));
    folderBox_->setTitle(tr(" Working Directory "));
    dataRowLabel_->setText(tr("&Info box on at boot"));
    layoutLabel_->setText(tr("&Remember export layout"));
    languageLabel_->setText(tr("&Language"));
    backupLabel_->setText(tr("&Backup before upload"));
    verifyLabel_->setText(tr("&Verify after upload"));
    askOnCheckErrorsLabel_->setText(tr("As&k before saving or uploading lists with errors"));
    portLabel_->setText(tr("&Comunication port"));
    save_->setText(tr("Save"));
    languageChoice_->setCurrentIndex(session_.english() ? 0 : 1);
}

void OptionsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Scrolled to the working folder once the tree has its size.
    QTimer::singleShot(0, this, [this] { showFolderInTree(); });
}

void OptionsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

Config OptionsWindow::chosenConfig() const {
    QString dir = dir_;
    // A drive root ("C:\") is kept as the drive ("C:").
    if (dir.size() == 3 && dir[1] == ':') dir = dir.left(2);
    Config c = session_.config();
    c.workingDir = dir;
    // A listed port stores what it stands for; a typed one is a device path as it stands.
    const QString typed = portChoice_->currentText().trimmed();
    const int listed = portChoice_->findText(typed);
    c.comPortText = listed >= 0 ? portChoice_->itemData(listed).toString() : typed;
    c.rememberExportLayout = rememberExportLayout_->isChecked();
    c.dataRowAtStart = dataRowAtStart_->isChecked();
    c.backupBeforeUpload = backupBeforeUpload_->isChecked();
    c.verifyAfterUpload = verifyAfterUpload_->isChecked();
    c.askOnCheckErrors = askOnCheckErrors_->isChecked();
    c.language =
        languageChoice_->currentIndex() == 0 ? QStringLiteral("ENG") : QStringLiteral("ITA");
    return c;
}

bool OptionsWindow::hasUnsavedEdits() const {
    const auto edited = [](const Config& c) {
        return std::tie(c.workingDir, c.comPortText, c.language, c.rememberExportLayout,
                        c.dataRowAtStart, c.backupBeforeUpload, c.verifyAfterUpload,
                        c.askOnCheckErrors);
    };
    return edited(chosenConfig()) != edited(shown_);
}

void OptionsWindow::save() {
    const Config c = chosenConfig();
    session_.setWorkingDir(c.workingDir);
    session_.setConfig(c);
    store_.saveOptions(c);
    shown_ = c;
    // Every open window re-sets its texts on the language change event.
    language_.apply(c.language);
}

}  // namespace qel
