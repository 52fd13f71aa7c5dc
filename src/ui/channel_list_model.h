// The rows of the main list: one per channel of the shown list, then a blank row that
// stands for the place after the last channel. The model reads the Session's list;
// refreshing resets the model instead of rebuilding any widget.
#pragma once

#include <QAbstractListModel>
#include <QIcon>

#include "app/session.h"

namespace qel {

class ChannelListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit ChannelListModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Re-reads the shown list.
    void Refresh();
    // Redraws rows whose text or icon changed, without a reset.
    void RowsChanged(int first, int last);

    int channelCount() const;
    bool isBlankRow(int row) const { return row >= channelCount(); }

    static QIcon HeaderIcon();
    static QIcon ParentalIcon();
    static QIcon BlankIcon();  // keeps the names of rows without an icon aligned

private:
    Session& session_;
};

}  // namespace qel
