package quorvel.rvx.tests;

import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.util.Arrays;

import quorvel.rvx.v3.RVXTextInfo;
import quorvel.rvx.v4.RVXTextInfoV4;

/** Values of a text-information object, for either generation, and the record the engine saw. */
final class Info {
    byte[] groupName = bytes("group");
    byte[] defLangName = bytes("lang");
    int bigEndian = 0;
    long option = 3;
    long option1 = 4;
    long size = 5;
    int csvC = 6;

    static byte[] bytes(String text) {
        return text.getBytes(java.nio.charset.StandardCharsets.ISO_8859_1);
    }

    RVXTextInfo v3() {
        RVXTextInfo info = new RVXTextInfo();
        info.GroupName = groupName;
        info.DefLangName = defLangName;
        info.bBigEndian = bigEndian;
        info.Option = option;
        info.Option1 = option1;
        info.Size = size;
        info.Csv_c = csvC;
        return info;
    }

    RVXTextInfoV4 v4() {
        RVXTextInfoV4 info = new RVXTextInfoV4();
        info.GroupName = groupName;
        info.DefLangName = defLangName;
        info.bBigEndian = bigEndian;
        info.Option = option;
        info.Option1 = option1;
        info.Size = size;
        info.Csv_c = csvC;
        return info;
    }

    /** The 532-byte record as the engine received it. */
    static final class Record {
        final byte[] groupField;
        final byte[] defLangField;
        final int bigEndian;
        final int option;
        final int option1;
        final int size;
        final int csvC;

        Record(byte[] bytes) {
            if (bytes == null || bytes.length != 532) {
                throw new AssertionError("no 532-byte text information reached the engine");
            }
            groupField = Arrays.copyOfRange(bytes, 0, 256);
            defLangField = Arrays.copyOfRange(bytes, 256, 512);
            ByteBuffer numbers = ByteBuffer.wrap(bytes, 512, 20).order(ByteOrder.LITTLE_ENDIAN);
            bigEndian = numbers.getInt();
            option = numbers.getInt();
            option1 = numbers.getInt();
            size = numbers.getInt();
            csvC = Short.toUnsignedInt(numbers.getShort());
        }

        static Record last() {
            return new Record(ScriptedEngine.lastTextInfo());
        }

        /** The name in a 256-byte field up to its NUL; fails when there is none. */
        static byte[] name(byte[] field) {
            for (int i = 0; i < field.length; i++) {
                if (field[i] == 0) {
                    return Arrays.copyOf(field, i);
                }
            }
            throw new AssertionError("name field without NUL");
        }
    }
}
