#pragma once

#include "BudgetFigures.h"
#include "Project.h"
#include "TextTableModel.h"

#include <QHash>

// The project manager's list: number, name and start date of each project, its budget beside what it
// has paid and committed, what remains and the share used, and a blank column. A project over its
// budget shows its figures red; the figures sort by value.
class ProjectListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { ProjectNumber, Name, StartDate, Budget, Paid, Committed, Remaining, Share, Blank };

    explicit ProjectListModel(QObject* parent = nullptr);
    // figures: by project number; a project without an entry has paid and committed nothing.
    void setProjects(const QList<Project>& projects, const QHash<qint64, BudgetFigures>& figures = {});
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool isOverBudget(int row) const;
};
