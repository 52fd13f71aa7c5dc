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
    void refresh();
    // Redraws rows whose text or icon changed, without a reset.
    void rowsChanged(int first, int last);

    int channelCount() const;
    bool isBlankRow(int row) const { return row >= channelCount(); }

    static QIcon headerIcon();
    static QIcon parentalIcon();
    static QIcon blankIcon();  // keeps the names of rows without an icon aligned

    // Dragging marked channels within the list: the drop is reported, the move is the
    // editing window's (one undoable step).
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    void rowsDropped(int beforeRow);

private:
    Session& session_;
};

}  // namespace qel
