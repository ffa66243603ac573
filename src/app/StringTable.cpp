#include "app/StringTable.h"

#include <QLocale>

namespace app {
namespace {

struct Entry {
    int id;
    const char *english;
    const char *japanese;
};

// Half-width katakana are kept as the kit's Japanese users know them.
constexpr Entry kTable[] = {
    {1000, "&File", "ﾌｧｲﾙ(&F)"},
    {1001, "E&xit", "終了(&X)"},
    {1002, "&Tool", "ﾂｰﾙ(&T)"},
    {1003, "&Option...", "ｵﾌﾟｼｮﾝ(&O)..."},
    {1004, "&Help", "ﾍﾙﾌﾟ(&H)"},
    {1005, "&About TAVO Starter...", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."},
    {1006, "Option", "ｵﾌﾟｼｮﾝ"},
    {1011, "&Apply", "適用(&A)"},
    {1012, "Cancel", "ｷｬﾝｾﾙ"},
    {1013, "OK", "OK"},
    {1014, "Version Info of TAVO Starter", "TAVO Starter のﾊﾞｰｼﾞｮﾝ情報"},
    {1015, "&System Info...", "ｼｽﾃﾑ情報(&S)..."},
    {1017, "Warning: ...", "警告: ..."},
    {1018, "Version ", "ﾊﾞｰｼﾞｮﾝ "},
    {1019, "Application title", "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"},
    {1020, "explanation", "ｱﾌﾟﾘｹｰｼｮﾝの説明"},
    {1021, "Import Editor.bat(&O)...", "Editor.bat 読込み(&O)..."},
    {1022, "Import Compiler.bat(&O)...", "Compiler.bat 読込み(&O)..."},
    {1023, "Export Editor.bat(&S)...", "Editor.bat 書込み(&S)..."},
    {1024, "Export Compiler.bat(&S)...", "Compiler.bat 書込み(&S)..."},
    {1025, "BlockEditor&Help...", "TAVOのヘルプ(&H)..."},
    {1026, "&Open Editor", "Editorを開く(&O)"},
    {1027, "&Compile", "コンパイル(&C)"},
    {1028, "&Update", "更新(&U)"},
    {1029, "Sel &All", "全選択(&A)"},
    {1030, "&New...", "新規(&N)..."},
    {1031, "&Libs...", "ﾗｲﾌﾞﾗﾘ..."},
    {1032, "&Delete...", "削除(&D)..."},
    {1033, "Select libraries", "ライブラリの選択"},
    {1034, "&Clear", "クリア"},

    {1100, "Open Editor: the file name has no extension", "Editorを開く: ファイル名に拡張子がありません"},
    {1101, "Open Editor: cannot enter the source folder", "Editorを開く: ソースフォルダに移動できません"},
    {1102, "Open Editor: the editor could not be started", "Editorを開く: エディタを起動できませんでした"},
    {1103, "Compile: the compiler could not be started", "コンパイル: コンパイラを起動できませんでした"},
    {1104, "The source folder cannot be read: %1", "ソースフォルダを読み込めません: %1"},
    {1105, "A folder cannot be read; the entries below it stay in the list: %1",
     "読み込めないフォルダがあります。その下の項目はリストに残します: %1"},
};

Language &languageSlot()
{
    static Language language = languageForLocale(QLocale::system().name());
    return language;
}

} // namespace

Language currentLanguage()
{
    return languageSlot();
}

void setCurrentLanguage(Language language)
{
    languageSlot() = language;
}

Language languageForLocale(const QString &localeName)
{
    return QLocale(localeName).language() == QLocale::Japanese ? Language::Japanese
                                                               : Language::English;
}

std::optional<QString> stringText(int id, Language language)
{
    for (const Entry &e : kTable) {
        if (e.id == id)
            return QString::fromUtf8(language == Language::Japanese ? e.japanese : e.english);
    }
    return std::nullopt;
}

std::optional<QString> stringText(int id)
{
    return stringText(id, currentLanguage());
}

QString message(int id)
{
    return stringText(id).value_or(QString());
}

} // namespace app
