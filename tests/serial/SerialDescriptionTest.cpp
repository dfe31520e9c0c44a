#include "SerialTestSupport.h"

namespace {

Bytes Description(const QByteArray& text, char checksum = 'A')
{
    ReplyBuilder b({0xFF, 0xCA, 0x7A, 0xEA, 0xBA, 0x6A, 0x5A}, 50);
    for (int i = 0; i < text.size(); ++i)
        b.Set(8 + i, {static_cast<unsigned char>(text[i])});
    return b.Done(checksum);
}

using SerialDescription = SerialProtocolFixture;

TEST_F(SerialDescription, TheTextGoesToRow15AndTheRecordAndCompletesReadOrWrite)
{
    m_protocol.m_nReply = SERIAL_READ_DESC;
    Feed(Description("Freezer \xb1\xb1 2")); // GBK for the character U+5317
    EXPECT_EQ(m_record->m_strValue[ROW_DESCRIPTION], QString::fromUtf8("Freezer \xe5\x8c\x97 2"));
    EXPECT_EQ(m_record->m_strDescription, m_record->m_strValue[ROW_DESCRIPTION]);
    EXPECT_TRUE(m_record->m_bDescRead);
    EXPECT_TRUE(m_record->m_nRowFlags & RF_DESCRIPTION);
    EXPECT_EQ(m_protocol.m_nReply, SERIAL_READ_DESC | SERIAL_REPLY_ARRIVED);

    m_protocol.m_nReply = SERIAL_WRITE_DESC;
    Feed(Description(QByteArray(50, 'x')));
    EXPECT_EQ(m_record->m_strDescription, QString(50, QLatin1Char('x')));
    EXPECT_EQ(m_protocol.m_nReply, SERIAL_WRITE_DESC | SERIAL_REPLY_ARRIVED);
}

TEST_F(SerialDescription, AnEmptyTextLeavesTwoBlanksInTheRecordAndAnEmptyRow)
{
    Feed(Description(""));
    EXPECT_TRUE(m_record->m_strValue[ROW_DESCRIPTION].isEmpty());
    EXPECT_EQ(m_record->m_strDescription, QStringLiteral("  "));
}

TEST_F(SerialDescription, OnlyChecksumAIsAccepted)
{
    Feed(Description("abc", 'B'));
    EXPECT_FALSE(m_record->m_bDescRead);
}

TEST_F(SerialDescription, ASettingsReplyOf42Or52BytesCompletesTheSettingsWrite)
{
    for (int length : {42, 52, 41}) {
        SCOPED_TRACE(length);
        m_protocol.m_nRxLen = 0;
        m_protocol.m_nReply = SERIAL_WRITE_SETTINGS;
        Feed(ReplyBuilder({0xFF, 0xBB, 0x5B, 0x7B, 0xCB, 0x00, 0x00}, length).Done());
        EXPECT_EQ(m_protocol.m_nReply, length == 41 ? SERIAL_WRITE_SETTINGS : SERIAL_WRITE_SETTINGS | SERIAL_REPLY_ARRIVED);
    }
}

} // namespace
