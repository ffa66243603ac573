#include "core/StringTable.h"

#include <QLocale>

namespace core {
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
    {1102, "Open Editor: the editor could not be started; Tool > Check Kit... says why",
     "Editorを開く: エディタを起動できませんでした。ﾂｰﾙ > キットの確認 で原因を確認できます"},
    {1103, "Compile: the compiler could not be started; Tool > Check Kit... says why",
     "コンパイル: コンパイラを起動できませんでした。ﾂｰﾙ > キットの確認 で原因を確認できます"},
    {1104, "The source folder cannot be read: %1", "ソースフォルダを読み込めません: %1"},
    {1105, "Cannot read %1; the entries below it stay in the list",
     "%1 を読み込めません。その下の項目はリストに残します"},
    {1106, "%1 cannot be read; the defaults are in use", "%1 を読み込めません。既定値を使用しています"},
    {1107, "The settings file %1 could not be read. Replace it with the settings shown?",
     "設定ファイル %1 を読み込めませんでした。表示中の設定で置き換えますか?"},
    {1108, "Not written: the line holds characters the system's code page cannot hold",
     "書き込めません: システムのコードページで表せない文字が行に含まれています"},
    {1109, "\"%1\" is no folder below src: the levels of a package name are joined by \\ and may be "
           "neither empty nor \".\" or \"..\", and it names no drive.",
     "\"%1\" は src の下のフォルダではありません: パッケージ名の各レベルは \\ で区切り、空、\".\"、\"..\" "
     "にはできません。ドライブも指定できません。"},
    {1110, "\"%1\" holds characters the system's code page cannot hold, so the workspace file could not keep it.",
     "\"%1\" にはシステムのコードページで表せない文字が含まれているため、ワークスペースファイルに保存できません。"},
    {1111, "%1 not added: the system's code page cannot hold the name",
     "%1 は追加しません: 名前をシステムのコードページで表せません"},
    {1112, "%1 could not be saved; the file is as it was", "%1 を保存できませんでした。ファイルは元のままです"},
    {1113, "Not written: the file to edit, \"%1\", has no extension, so no editor line can be built",
     "書き込みませんでした: 編集するファイル \"%1\" に拡張子がないため、エディタの行を作れません"},
    {1114, "%1 not added: the workspace file cannot hold the name as it is (a \\ inside a folder's name, "
           "bytes that are no text, or a leading U+FEFF)",
     "%1 は追加しません: ワークスペースファイルにその名前をそのまま保存できません (フォルダ名の中の \\、"
     "文字として読めないバイト、先頭の U+FEFF)"},
    {1115, "\"%1\" begins with the invisible character U+FEFF, which the workspace file would lose.",
     "\"%1\" は見えない文字 U+FEFF で始まっています。ワークスペースファイルではこの文字が失われます。"},
    {1116, "\"%1\": a level of a package name may not end in a blank or a dot; Windows drops them, and the "
           "entry would name no folder.",
     "\"%1\": パッケージ名の各レベルは空白やドットで終わることはできません。Windows はそれらを取り除くため、"
     "項目がどのフォルダも指さなくなります。"},
    {1117, "Links not followed, as they lead back up the tree: %1; the entries at or below them stay in the list",
     "ツリーの上に戻るリンクはたどりません: %1。その位置と下の項目はリストに残します"},
    {1118, "Reading the source folders: %1 read so far", "ソースフォルダを読み込んでいます: %1 個読み込み済み"},

    // The buttons of the program's own questions.
    {1300, "&Yes", "はい(&Y)"},
    {1301, "&No", "いいえ(&N)"},
    // Qt's words for the kinds of file in a file chooser.
    {1302, "Folder", "フォルダー"},
    {1303, "File Folder", "ファイル フォルダー"},
    {1304, "File", "ファイル"},
    {1305, "%1 File", "%1 ファイル"},
    {1306, "Drive", "ドライブ"},
    {1307, "Shortcut", "ショートカット"},
    {1308, "Unknown", "不明"},

    // The kit check.
    {1200, "Check &Kit...", "キットの確認(&K)..."},
    {1201, "Check Kit", "キットの確認"},
    {1202, "&Options...", "ｵﾌﾟｼｮﾝ(&O)..."},
    {1203, "Check &Again", "再確認(&A)"},
    {1204, "Close", "閉じる"},
    {1205, "Setting", "設定"},
    {1206, "Finding", "結果"},
    {1207, "Path", "パス"},
    {1210, "No settings file: the defaults are in force.", "設定ファイルがありません。既定値を使用しています。"},
    {1211, "The settings file is read.", "設定ファイルを読み込みました。"},
    {1212, "The settings file has the older line form: Compiler and ClassDirectory keep their defaults "
           "until OK or Apply writes it anew.",
     "設定ファイルは旧形式です。OK か適用で書き直すまで Compiler と ClassDirectory は既定値です。"},
    {1213, "The settings file cannot be read: the defaults are in force, not its values.",
     "設定ファイルを読み込めません。ファイルの値ではなく既定値を使用しています。"},
    {1214, "The compiler is there.", "コンパイラがあります。"},
    {1215, "No compiler there: Compile cannot start it.", "コンパイラがありません。コンパイルで起動できません。"},
    {1216, "The Java runtime is there.", "Java ランタイムがあります。"},
    {1217, "No Java runtime there: Open Editor cannot start the editor.",
     "Java ランタイムがありません。エディタを起動できません。"},
    {1218, "This piece of the class path is there.", "クラスパスのこの項目があります。"},
    {1219, "This piece of the class path is missing: the compiler finds no classes in it.",
     "クラスパスのこの項目がありません。コンパイラはここからクラスを読めません。"},
    {1220, "This piece of the editor's class path is there.", "エディタのクラスパスのこの項目があります。"},
    {1221, "This piece of the editor's class path is missing: the editor finds no classes in it.",
     "エディタのクラスパスのこの項目がありません。エディタはここからクラスを読めません。"},
    {1222, "The selected package's sources are here.", "選択されたパッケージのソースがあります。"},
    {1223, "No .java file here: Compile has nothing to compile.",
     "ここに .java ファイルがありません。コンパイルするものがありません。"},
    {1224, "No package is selected: Compile takes the sources of javapath itself.",
     "パッケージが選択されていません。コンパイルは javapath 自体のソースを対象にします。"},
    {1225, "The class folder is there.", "クラスフォルダがあります。"},
    {1226, "The class folder is not there yet; Compile makes it.", "クラスフォルダはまだありません。コンパイル時に作成されます。"},
    {1227, "The class folder cannot be made: the folder above it is missing or read-only.",
     "クラスフォルダを作成できません。親フォルダがないか書き込めません。"},
    {1228, "The source folder is there.", "ソースフォルダがあります。"},
    {1229, "No source folder: the editor cannot start and no package can be chosen.",
     "ソースフォルダがありません。エディタを起動できず、パッケージも選べません。"},
    {1230, "The runtime folder is there.", "ランタイムフォルダがあります。"},
    {1231, "No runtime folder: New... cannot make packages.", "ランタイムフォルダがありません。新規でパッケージを作成できません。"},
    {1232, "Every workspace entry names a folder below src.", "ワークスペースのすべての項目が src の下のフォルダを指しています。"},
    {1233, "No folder below src for this workspace entry: Select libraries would remove it.",
     "このワークスペースの項目に対応するフォルダが src の下にありません。ライブラリの選択で削除されます。"},
    {1234, "The editor's help page is there.", "エディタのヘルプページがあります。"},
    {1235, "No help page: BlockEditor Help shows nothing.", "ヘルプページがありません。"},
    {1236, "Holds a blank, so the tool receives the words %1 in its place.",
     "空白を含むため、ツールには代わりに %1 という語が渡されます。"},
    {1237, "Leaves a quote open, so the tool takes the rest of its line into this word.",
     "引用符が閉じていないため、ツールは行の残りをこの語に含めて受け取ります。"},
    {1238, "Unquoted blank in the program's name: the start goes wrong. Put the value in double quotes.",
     "プログラム名に引用符のない空白があり、正しく起動できません。値を二重引用符で囲んでください。"},
    {1239, "The workspace file is there but cannot be read: the list starts empty.",
     "ワークスペースファイルはありますが読み込めません。リストは空になります。"},
    // The kit check's words for what is no setting, and the sentences of
    // what a start, a batch file or the compiler would do with a value.
    {1250, "settings file", "設定ファイル"},
    {1251, "workspace file", "ワークスペースファイル"},
    {1252, "workspace", "ワークスペース"},
    {1253, "selected entry", "選択された項目"},
    {1254, "help page", "ヘルプページ"},
    {1255, "The file is not executable: the system cannot start it.",
     "このファイルは実行可能ではありません。システムは起動できません。"},
    {1256, "The file is neither an ELF program nor a script with #!: the system cannot start it.",
     "このファイルは ELF プログラムでも #! で始まるスクリプトでもありません。システムは起動できません。"},
    {1257, "The interpreter that the script's #! line names is not there or cannot run: the system cannot "
           "start the script.",
     "スクリプトの #! 行が指すインタプリタがないか実行できません。システムはスクリプトを起動できません。"},
    {1258, "The file is no program image: the system cannot start it.",
     "このファイルはプログラム イメージではありません。システムは起動できません。"},
    {1259, "Leaves a quote open, so the program's name takes in the rest of its line: the start fails.",
     "引用符が閉じていないため、行の残りがプログラム名に含まれ、起動できません。"},
    {1260, "Gives the compiler no folder name after -d.", "-d の後にコンパイラへ渡すフォルダ名がありません。"},
    {1261, "A file stands where the class folder should be: Compile cannot make the folder.",
     "クラスフォルダの場所にファイルがあります。コンパイル時にフォルダを作成できません。"},
    {1262, "Holds %1, which the command interpreter takes for its own: in a batch file of your own the line "
           "runs something else. Exported batch files escape it.",
     "%1 を含みます。コマンド インタプリタが独自に解釈するため、自作のバッチファイルでは別のコマンドとして実行されます。"
     "エクスポートしたバッチファイルではエスケープされます。"},

    // The kit check's tools: the compiler's kind, the Java installations,
    // and the mends Check Kit offers.
    {1500, "&Mend", "修正(&M)"},
    {1501, "Use %1 (%2)", "%1 を使う (%2)"},
    {1502, "Quote it: %1", "引用符で囲む: %1"},
    {1503, "Make the folder %1", "フォルダ %1 を作成する"},
    {1504, "The folder %1 could not be made.", "フォルダ %1 を作成できませんでした。"},
    {1510, "javac, started with these words: without -Xstdout, which javac takes for a file to write into.",
     "javac。この引数で起動します。-Xstdout は書き込み先のファイル名と解釈されるため渡しません。"},
    {1511, "ecj, started with these words; it passes over -Xstdout.", "ecj。この引数で起動します。-Xstdout は無視されます。"},
    {1512, "jikes, started with these words.", "jikes。この引数で起動します。"},
    {1513, "A compiler of unknown kind, started with the kit's words, -Xstdout included.",
     "種類が不明なコンパイラです。-Xstdout を含むキットの引数で起動します。"},
    {1520, "Java named by JAVA_HOME: %1.", "JAVA_HOME が指す Java: %1。"},
    {1521, "Java on PATH: %1.", "PATH 上の Java: %1。"},
    {1522, "Java in the system's Java folder: %1.", "システムの Java フォルダにある Java: %1。"},
    {1523, "Java registered under %2: %1.", "%2 に登録された Java: %1。"},
    {1524, "Java in Program Files: %1.", "Program Files にある Java: %1。"},
    {1525, "No Java installation was found on this machine.", "このコンピュータに Java が見つかりません。"},

    // The compile window.
    {1400, "Compile", "コンパイル"},
    {1401, "Command line:", "コマンドライン:"},
    {1402, "&Stop", "停止(&S)"},
    {1403, "C&lose", "閉じる(&L)"},
    {1404, "File", "ファイル"},
    {1405, "Line", "行"},
    {1406, "Message", "メッセージ"},
    {1407, "Errors and warnings:", "エラーと警告:"},
    {1408, "Output:", "出力:"},
    {1410, "The compiler is running...", "コンパイラを実行中です..."},
    {1411, "Error", "エラー"},
    {1412, "Warning", "警告"},
    {1413, "compile.log could not be written in %1; the output goes to %2 instead, which stays after exit.",
     "%1 に compile.log を書き込めませんでした。出力は代わりに %2 に書き込まれ、終了後も残ります。"},
    {1414, "A compile is running: Stop ends it before the next one.",
     "コンパイルを実行中です。次のコンパイルの前に、停止で終了させることができます。"},
    {1415, "No function block %1 is there.", "ファンクションブロック %1 がありません。"},
    {1416, "%1 was not made from a function block of the kit.",
     "%1 はキットのファンクションブロックから作られたものではありません。"},
    {1417, "Only the last %1 lines are shown here; %2 holds them all.",
     "ここには最後の %1 行だけを表示しています。すべての行は %2 にあります。"},
    {1418, "Open Editor: the editor ended at once with %1; Tool > Check Kit... says why",
     "Editorを開く: エディタが起動直後に %1 で終了しました。ﾂｰﾙ > キットの確認 で原因を確認できます"},
    {1420, "Compile: the compiler ended with %1 (success); %2", "コンパイル: コンパイラは %1 で終了しました (成功)。%2"},
    {1421, "Compile: the compiler ended with %1; %2", "コンパイル: コンパイラは %1 で終了しました。%2"},
    {1422, "Compile: the compiler crashed with %1; %2", "コンパイル: コンパイラが %1 で異常終了しました。%2"},
    {1423, "Compile: stopped, the compiler was ended; %1", "コンパイル: 停止しました。コンパイラを終了させました。%1"},
    {1430, "no errors or warnings", "エラー・警告なし"},
    {1431, "1 error", "エラー 1 件"},
    {1432, "%1 errors", "エラー %1 件"},
    {1433, "1 warning", "警告 1 件"},
    {1434, "%1 warnings", "警告 %1 件"},
    {1435, ", ", "、"},
    {1440, "status %1", "終了コード %1"},
    {1441, "signal %1", "シグナル %1"},
    {1442, "exception code %1", "例外コード %1"},
    {1470, "No log could be kept: neither %1 nor the temporary folder takes a new file. The output shows here only.",
     "ログを残せません。%1 にも一時フォルダにも新しいファイルを作成できません。出力はここにだけ表示されます。"},
    {1471, "Only the last %1 lines are shown here; the earlier ones are lost, as no log could be kept.",
     "ここには最後の %1 行だけを表示しています。ログを残せないため、それより前の行は失われました。"},
    {1472, "Errors and warnings that went with the earlier lines: %1.", "前の行とともに消えたエラーと警告: %1 件。"},
    {1473, "The compiler has ended with %1; what it started still runs.",
     "コンパイラは %1 で終了しましたが、コンパイラが起動したプロセスがまだ実行中です。"},
    {1474, "What the compiler left running was ended.", "コンパイラが残したプロセスを終了させました。"},
    {1475, "This message names no file, so there is nothing to open.",
     "このメッセージはファイルを示していないため、開くものがありません。"},
    {1476, "%1\n\nOpen the Java file %2 where the system opens .java files?",
     "%1\n\nJava ファイル %2 を、システムで .java ファイルを開くプログラムで開きますか?"},
    {1477, "The system could not open %1: it knows no program for .java files.",
     "%1 を開けませんでした。.java ファイルを開くプログラムがシステムに登録されていません。"},
    {1478, "Last Compile &Results", "前回のコンパイル結果(&R)"},
    {1479, "Compile - %1", "コンパイル - %1"},

    // Run from a build script: usage and messages on the console.
    {1150,
     "Usage:\n"
     "  TAVO_Starter --print-command compile [--package NAME]\n"
     "  TAVO_Starter --print-command editor --file NAME.fbt [--package NAME]\n"
     "  TAVO_Starter --compile [--package NAME]\n"
     "  TAVO_Starter --check [--package NAME]\n"
     "  TAVO_Starter --help | --version\n"
     "\n"
     "The kit is the folder that holds the program. The settings are read from\n"
     "TAVO_Starter.ini, the workspace from TAVO_Starter.dat; neither is written.\n"
     "\n"
     "  --print-command compile|editor\n"
     "                  write the line that Compile or Open Editor would start,\n"
     "                  exactly (the compile line ends in \" %1 > .\\compile.log\",\n"
     "                  which Compiler.bat's command interpreter reads)\n"
     "  --compile       start the compiler as Compile does, but without that\n"
     "                  ending: its output comes here; wait for it and end with\n"
     "                  its exit status\n"
     "  --check         check that the settings point at what is there (the\n"
     "                  compiler, the Java runtime, the class paths, the package's\n"
     "                  sources, the kit's folders, values a blank would split):\n"
     "                  one line a finding, \"fine\", \"warning\" or \"problem\", the\n"
     "                  setting, the path and a sentence, between tabs\n"
     "  --package NAME  the package to use: an entry of the workspace or a folder\n"
     "                  below src (without it, the workspace's selected entry)\n"
     "  --file NAME     the function-block file for the editor line, no folder\n"
     "  -h, --help      show this text\n"
     "  -v, --version   show the version\n"
     "\n"
     "Exit status: 0 done; 1 --check found a problem (warnings alone give 0);\n"
     "2 wrong use (the message says why); 65 a line of the output holds\n"
     "characters the system's code page cannot hold (on Windows, to a file or\n"
     "pipe): that line is left out; 66 the settings file is there but cannot\n"
     "be read (or is broken XML), or, without --package, the workspace file is\n"
     "there but cannot be read (--check says either among its findings);\n"
     "74 the output could not be written; 127 the compiler could not be\n"
     "started; after --compile otherwise the compiler's own status.\n",
     "使い方:\n"
     "  TAVO_Starter --print-command compile [--package 名前]\n"
     "  TAVO_Starter --print-command editor --file 名前.fbt [--package 名前]\n"
     "  TAVO_Starter --compile [--package 名前]\n"
     "  TAVO_Starter --check [--package 名前]\n"
     "  TAVO_Starter --help | --version\n"
     "\n"
     "キットはプログラムのあるフォルダです。設定は TAVO_Starter.ini から、\n"
     "ワークスペースは TAVO_Starter.dat から読み込みます。どちらも書き込みません。\n"
     "\n"
     "  --print-command compile|editor\n"
     "                  「コンパイル」または「Editorを開く」が起動する行をそのまま出力します\n"
     "                  (コンパイルの行は Compiler.bat のコマンド インタープリタが読む\n"
     "                  \" %1 > .\\compile.log\" で終わります)\n"
     "  --compile       「コンパイル」と同じくコンパイラを起動しますが、その末尾は\n"
     "                  付けず、出力はここに出ます。終了を待ってその終了コードで終了します\n"
     "  --check         設定が実在するものを指しているか確認します (コンパイラ、Java\n"
     "                  ランタイム、クラスパス、パッケージのソース、キットのフォルダ、\n"
     "                  空白で分かれる値)。1 行に 1 件、\"fine\"・\"warning\"・\"problem\"、\n"
     "                  設定、パス、説明をタブで区切って出力します\n"
     "  --package 名前  使うパッケージ: ワークスペースの項目か src の下のフォルダ\n"
     "                  (省略時はワークスペースで選択されている項目)\n"
     "  --file 名前     エディタの行に使うファンクションブロックのファイル名 (フォルダなし)\n"
     "  -h, --help      この説明を表示します\n"
     "  -v, --version   バージョンを表示します\n"
     "\n"
     "終了コード: 0 成功、1 --check が問題を見つけた (警告だけなら 0)、2 使い方の誤り\n"
     "(理由はメッセージに表示)、65 出力の行にシステムのコードページで表せない文字が\n"
     "ある (Windows でファイルやパイプへ出力した場合。その行は書き込まない)、\n"
     "66 設定ファイルはあるが読み込めない (XML が壊れている場合も)、または --package\n"
     "なしでワークスペースファイルはあるが読み込めない (--check では結果の一つとして\n"
     "表示)、74 出力を書き込めなかった、127 コンパイラを起動できなかった。\n"
     "--compile ではそれ以外はコンパイラ自身の終了コード。\n"},
    {1151, "Run TAVO_Starter --help for the options.", "オプションは TAVO_Starter --help で表示できます。"},
    {1152, "unknown option: %1", "不明なオプションです: %1"},
    {1153, "%1 needs a value", "%1 には値が必要です"},
    {1154, "%1 takes no value", "%1 は値を取りません"},
    {1155, "unexpected argument: %1", "余分な引数です: %1"},
    {1156, "nothing to do: give --print-command, --compile, --check, --help or --version",
     "何もすることがありません: --print-command、--compile、--check、--help、--version のいずれかを指定してください"},
    {1157, "give one of --print-command, --compile and --check, not more",
     "--print-command、--compile、--check は一つだけ指定してください"},
    {1158, "--print-command takes compile or editor, not \"%1\"",
     "--print-command には compile か editor を指定してください (指定: \"%1\")"},
    {1159, "--print-command editor needs --file NAME", "--print-command editor には --file 名前 が必要です"},
    {1160, "--file is used only with --print-command editor", "--file は --print-command editor でのみ使えます"},
    {1161, "--file takes the file's name without its folder: %1",
     "--file にはフォルダを含まないファイル名を指定してください: %1"},
    {1162, "the file name has no extension: %1", "ファイル名に拡張子がありません: %1"},
    {1163, "no package \"%1\": neither an entry of the workspace nor a folder below %2",
     "パッケージ \"%1\" がありません: ワークスペースの項目でも %2 の下のフォルダでもありません"},
    {1164, "no package is selected in the workspace; name one with --package",
     "ワークスペースで選択されているパッケージがありません。--package で指定してください"},
    {1165, "the settings file cannot be read: %1", "設定ファイルを読み込めません: %1"},
    {1166, "the compiler could not be started: %1", "コンパイラを起動できませんでした: %1"},
    {1167, "%1 is given more than once", "%1 が2回以上指定されています"},
    {1168, "the output could not be written", "出力を書き込めませんでした"},
    {1169, "the workspace file cannot be read: %1; name the package with --package",
     "ワークスペースファイルを読み込めません: %1。--package でパッケージを指定してください"},
    {1170, "%1 of %2 lines not written: they hold characters the system's code page cannot hold",
     "%2 行のうち %1 行は、システムのコードページで表せない文字を含むため書き込みませんでした"},

    // Files and windows, New.
    {1171, "The settings file gives no value (they are read from the attributes of Editor, Compiler and "
           "Properties): the defaults are in force, not its values.",
     "設定ファイルから値を読み込めません (値は Editor、Compiler、Properties の属性から読みます)。"
     "ファイルの値ではなく既定値を使用しています。"},
    {1172, "New Package", "新規パッケージ"},
    {1173, "Package Name", "パッケージ名"},
    {1174, "System information is not available at this time", "現時点ではｼｽﾃﾑ情報を使用できません"},
    {1175, "%1 already exists: choose another name.", "%1 は既にあります。別の名前を指定してください。"},
    {1176, "These folders do not exist: %1. Make them as well?", "次のフォルダがありません: %1。これらも作成しますか?"},
    {1177, "%1 cannot be made: %2 is missing.", "%1 を作成できません: %2 がありません。"},
    {1178, "%1 cannot be made: the name is too long for the system.",
     "%1 を作成できません: 名前がシステムで扱える長さを超えています。"},
    {1179, "%1 cannot be made.", "%1 を作成できません。"},
    {1180, "%1 could not be read (it ends before its list does, or cannot be opened), so the list starts "
           "empty. The file is kept as it is: the first change to the list asks before it is replaced.",
     "%1 を読み込めませんでした (一覧の途中で終わっているか、開けません)。そのためリストは空で始まります。"
     "ファイルはそのまま残します。リストを初めて変更するときに、置き換えてよいか確認します。"},
    {1181, "%1 could not be read at start and still holds what it held. Replace it with this list when the "
           "program ends?\n\nNo keeps the file as it is; the list then lasts until exit.",
     "%1 は起動時に読み込めなかったため、元の内容のままです。終了時にこのリストで置き換えますか?\n\n"
     "「いいえ」を選ぶとファイルはそのまま残り、このリストは終了までの間だけ使われます。"},
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

} // namespace core
