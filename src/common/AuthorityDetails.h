#pragma once

#include "Settings.h"

// The authority's own name and address, kept in the settings and printed at the foot of every report page.
struct AuthorityDetails {
    static inline const SettingKey<QString> name{
        QStringLiteral("frmAusgabe"), QStringLiteral("NameBehörde"), {}};
    static inline const SettingKey<QString> department{
        QStringLiteral("frmAusgabe"), QStringLiteral("NameAbteilung"), {}};
    static inline const SettingKey<QString> postcode{
        QStringLiteral("frmAusgabe"), QStringLiteral("NamePLZ"), {}};
    static inline const SettingKey<QString> town{QStringLiteral("frmAusgabe"), QStringLiteral("NameOrt"), {}};
    static inline const SettingKey<QString> district{
        QStringLiteral("frmAusgabe"), QStringLiteral("NameLandkreis"), {}};
    static inline const SettingKey<QString> region{
        QStringLiteral("frmAusgabe"), QStringLiteral("NameBezirk"), {}};
};
