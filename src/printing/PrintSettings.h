#pragma once

#include "Settings.h"

// The print preferences of the print settings screen, section "Zlv": paper, printer, margins, font size
// and draft quality. The margins place the page's content on the paper; the font size is kept and shown,
// the reports' fonts are fixed.
struct PrintSettings {
    static inline const SettingKey<int> reportPaper{QStringLiteral("Zlv"), QStringLiteral("MBerichtSeite"),
                                                    0};
    static inline const SettingKey<int> tablePaper{QStringLiteral("Zlv"), QStringLiteral("MTabelleSeite"), 0};
    static inline const SettingKey<QString> reportPrinter{
        QStringLiteral("Zlv"), QStringLiteral("MBerichtDrucker"), {}};
    // The printer selected at opening; empty: the system's default printer.
    static inline const SettingKey<QString> tablePrinter{
        QStringLiteral("Zlv"), QStringLiteral("MTabelleDrucker"), {}};
    static inline const SettingKey<QString> topMargin{
        QStringLiteral("Zlv"), QStringLiteral("MTabelleDruckerRO"), QStringLiteral("15")};
    static inline const SettingKey<QString> leftMargin{
        QStringLiteral("Zlv"), QStringLiteral("MTabelleDruckerRL"), QStringLiteral("15")};
    static inline const SettingKey<QString> fontSize{
        QStringLiteral("Zlv"), QStringLiteral("MTabelleDruckerSchrift"), QStringLiteral("8")};
    static inline const SettingKey<int> draftQuality{QStringLiteral("Zlv"),
                                                     QStringLiteral("MTabelleDruckQualität"), 0};
};
