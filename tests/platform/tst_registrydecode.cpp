#include "platform/RegistryDecode.h"

#include <QByteArray>
#include <QtTest>

namespace {

// Runs GetKeyValue's finishing step on bytes as a query would return them.
bool finish(bool opened, bool queried, std::uint32_t type, const QByteArray &data,
            std::string &value)
{
    return platform::keyValueResult(opened, queried, type,
                                    reinterpret_cast<const unsigned char *>(data.constData()),
                                    std::size_t(data.size()), value);
}

} // namespace

class TestRegistryDecode : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("string with its NUL")
            << 1u << QByteArray("C:\\Program Files\\msinfo32.exe\0", 30)
            << QByteArray("C:\\Program Files\\msinfo32.exe");
        QTest::newRow("string cut at the first NUL")
            << 1u << QByteArray("abc\0def\0", 8) << QByteArray("abc");
        QTest::newRow("string without NUL") << 1u << QByteArray("xyz") << QByteArray("xyz");
        QTest::newRow("empty string") << 1u << QByteArray("\0", 1) << QByteArray("");
        QTest::newRow("string filling the buffer")
            << 1u << QByteArray(1024, 'a') << QByteArray(1024, 'a');
        QTest::newRow("number 42") << 4u << QByteArray("\x2a\0\0\0", 4) << QByteArray("42");
        // A NUL in the low byte must not cut the number away.
        QTest::newRow("number 256") << 4u << QByteArray("\0\x01\0\0", 4) << QByteArray("256");
        QTest::newRow("number, all bits")
            << 4u << QByteArray("\xff\xff\xff\xff", 4) << QByteArray("4294967295");
        QTest::newRow("expandable string kept as it came")
            << 2u << QByteArray("%SystemRoot%\0", 13) << QByteArray("came in");
        QTest::newRow("binary kept as it came")
            << 3u << QByteArray("\x01\x02", 2) << QByteArray("came in");
        QTest::newRow("multi-string kept as it came")
            << 7u << QByteArray("a\0b\0\0", 5) << QByteArray("came in");
    }

    // A read value decodes by its type; the read succeeds whatever the type.
    void decode()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        std::string value = "came in";
        QVERIFY(finish(true, true, type, data, value));
        QCOMPARE(QByteArray::fromStdString(value), expected);
    }

    void failures_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("queried");
        QTest::addColumn<QByteArray>("data");

        QTest::newRow("missing key") << false << false << QByteArray();
        QTest::newRow("missing value") << true << false << QByteArray();
        QTest::newRow("longer than the buffer") << true << true << QByteArray(1025, 'a');
    }

    // Every failure empties the value and answers false.
    void failures()
    {
        QFETCH(bool, opened);
        QFETCH(bool, queried);
        QFETCH(QByteArray, data);
        std::string value = "came in";
        QVERIFY(!finish(opened, queried, platform::kRegistryString, data, value));
        QCOMPARE(value, std::string());
    }

    // The decoder alone never looks past the buffer.
    void decoderStopsAtTheBuffer()
    {
        const QByteArray data(2000, 'b');
        std::string value;
        platform::decodeRegistryValue(platform::kRegistryString,
                                      reinterpret_cast<const unsigned char *>(data.constData()),
                                      std::size_t(data.size()), value);
        QCOMPARE(value.size(), platform::kRegistryBufferSize);
    }
};

QTEST_MAIN(TestRegistryDecode)
#include "tst_registrydecode.moc"
