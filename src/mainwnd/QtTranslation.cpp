#include "mainwnd/QtTranslation.h"

#include "base/DisplaySettings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString QtTranslationFile(std::uint16_t language)
{
    if (language != LANG_CHINESE)
        return {};
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
}

QTranslator* InstallQtTranslation(std::uint16_t language, QCoreApplication& app)
{
    const QString file = QtTranslationFile(language);
    if (file.isEmpty())
        return nullptr;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(&app);
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
