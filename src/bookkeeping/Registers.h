#pragma once

#include "AsLoaded.h"
#include "BudgetFigures.h"
#include "Company.h"
#include "Money.h"
#include "NameEntry.h"
#include "NameList.h"
#include "Project.h"
#include "Reading.h"

#include <functional>
#include <optional>
#include <QHash>
#include <QList>

class Database;
class Session;

// Reads the master data for the screens that keep them: projects with their budget figures, companies,
// trades and cost groups, and the rows loaded for editing with what they were as loaded.
class Registers {
public:
    // The project manager's list: the projects and, by project number, their budget figures.
    struct ProjectList {
        QList<Project> projects;
        QHash<qint64, BudgetFigures> figures;
    };
    // A project with its budget, as loaded for editing.
    struct BudgetedProject {
        Project project;
        std::optional<Money> budget;
    };

    explicit Registers(Session& session);

    // Newest start date first; with a search text those whose number or name hold it ('*', '?' wildcards).
    Reading<ProjectList> projects(const QString& search = QString()) const;
    Reading<std::optional<Project>> project(qint64 id) const;
    Reading<std::optional<Loaded<BudgetedProject>>> projectForEditing(qint64 id) const;

    // In order of entry; with a search text those whose trade, cost group, name, postcode or town hold
    // it, anywhere or (fromLeft) at the start.
    Reading<QList<Company>> companies(const QString& search = QString(), bool fromLeft = false) const;
    Reading<QList<Company>> companiesByName() const;
    Reading<std::optional<Company>> company(qint64 id) const;
    // The first company (by name order) whose name equals name, ignoring case.
    Reading<std::optional<Company>> companyNamed(const QString& name) const;
    Reading<std::optional<Loaded<Company>>> companyForEditing(qint64 id) const;

    // In German order of their names.
    Reading<QList<NameEntry>> names(NameList list) const;
    Reading<QList<NameEntry>> namesInOrderOfEntry(NameList list) const;
    Reading<std::optional<NameEntry>> name(NameList list, qint64 id) const;
    Reading<std::optional<Loaded<NameEntry>>> nameForEditing(NameList list, qint64 id) const;

private:
    template <class T> Reading<T> reading(T value, bool ok) const;
    template <class Row>
    Reading<std::optional<Loaded<Row>>>
    forEditing(const std::optional<QString>& stamp,
               const std::function<std::optional<Row>(bool*)>& find) const;

    Database& m_db;
};
