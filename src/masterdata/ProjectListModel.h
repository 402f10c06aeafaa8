#pragma once

#include "Project.h"
#include "TextTableModel.h"

// The project manager's list: number, name and start date of each project, and a blank column.
class ProjectListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { ProjectNumber, Name, StartDate, Blank };

    explicit ProjectListModel(QObject* parent = nullptr);
    void setProjects(const QList<Project>& projects);
};
