#include "app/file_filters.h"

#include <QCoreApplication>
#include <string>

namespace qel {

namespace {

QString filterText(const DialogFilter& filter) {
    const QString name =
        QCoreApplication::translate(kFileFormatTextContext, std::string(filter.name).c_str());
    return name + QStringLiteral(" (") + QString::fromLatin1(filter.patterns) + ')';
}

}  // namespace

QString openFilter(FileFormatId id) {
    return filterText(fileFormat(id).openFilter);
}

QString saveFilter(FileFormatId id) {
    return filterText(fileFormat(id).saveFilter);
}

QString documentFilter(FileContent content) {
    QStringList filters;
    for (const FileFormat& f : fileFormats()) {
        if (f.content == content && !f.imported) filters << filterText(f.openFilter);
    }
    return filters.join(QStringLiteral(";;"));
}

QString channelFilesFilter() {
    QStringList filters;
    QStringList patterns;
    for (const FileFormat& f : fileFormats()) {
        if (f.readerOf<ChannelReader>() == nullptr) continue;
        filters << filterText(f.openFilter);
        patterns << QString::fromLatin1(f.openFilter.patterns).trimmed();
    }
    static const char* const kAll = QT_TRANSLATE_NOOP("FileFormats", "Channel files");
    const QString all = QCoreApplication::translate(kFileFormatTextContext, kAll) +
                        QStringLiteral(" (") + patterns.join(' ') + ')';
    filters.prepend(all);
    return filters.join(QStringLiteral(";;"));
}

QString dottedExtension(FileFormatId id) {
    return '.' + QString::fromLatin1(fileFormat(id).extension);
}

}  // namespace qel
