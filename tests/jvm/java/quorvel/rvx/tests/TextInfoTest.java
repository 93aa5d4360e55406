package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.Method;
import java.util.Arrays;
import java.util.List;
import java.util.function.Consumer;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

import quorvel.rvx.v3.RVXTextInfo;
import quorvel.rvx.v4.RVXTextInfoV4;

class TextInfoTest {
    // One call of each generation: both read the object the same way.
    private static final TextCall V3 = TextCall.all().get(0);
    private static final TextCall V4 = TextCall.all().get(4);

    @BeforeEach
    void resetEngine() {
        ScriptedEngine.reset();
    }

    private static Info.Record sendThrough(TextCall call, Info info) throws Exception {
        call.call(Info.bytes("in"), Info.bytes("out"), info, 1);
        return Info.Record.last();
    }

    private static byte[] filled(int length, char value) {
        byte[] bytes = new byte[length];
        Arrays.fill(bytes, (byte) value);
        return bytes;
    }

    static Stream<Arguments> numbers() {
        return Stream.of(V3, V4).flatMap(call -> Stream.of(
                // Option, Option1, Size: the low 32 bits; Csv_c: the low 16 bits; bBigEndian whole.
                Arguments.of(call, 0x100000001L, -1L, 0x700000005L, 0x12345, -2,
                        List.of(-2, 1, -1, 5, 0x2345)),
                Arguments.of(call, 0x7FFFFFFFL, 0x80000000L, 0L, -1, 0x10000,
                        List.of(0x10000, 0x7FFFFFFF, Integer.MIN_VALUE, 0, 0xFFFF))));
    }

    @ParameterizedTest
    @MethodSource("numbers")
    void numbersKeepTheirLowBits(TextCall call, long option, long option1, long size, int csvC,
            int bigEndian, List<Integer> expected) throws Exception {
        Info info = new Info();
        info.option = option;
        info.option1 = option1;
        info.size = size;
        info.csvC = csvC;
        info.bigEndian = bigEndian;
        Info.Record record = sendThrough(call, info);
        assertEquals(expected,
                List.of(record.bigEndian, record.option, record.option1, record.size, record.csvC));
    }

    static Stream<Arguments> names() {
        return Stream.of(V3, V4).flatMap(call -> Stream.of(
                Arguments.of(call, null, new byte[0]),
                Arguments.of(call, new byte[0], new byte[0]),
                Arguments.of(call, Info.bytes("fünf!"), Info.bytes("fünf!")),
                Arguments.of(call, filled(255, 'n'), filled(255, 'n'))));
    }

    @ParameterizedTest
    @MethodSource("names")
    void namesBecomeNulTerminatedFields(TextCall call, byte[] name, byte[] expected) throws Exception {
        Info info = new Info();
        info.groupName = name;
        info.defLangName = name;
        Info.Record record = sendThrough(call, info);
        for (byte[] field : List.of(record.groupField, record.defLangField)) {
            assertArrayEquals(expected, Arrays.copyOf(field, expected.length));
            assertEquals(0, field[expected.length], "NUL after the name");
        }
    }

    @Test
    void groupNameNullAndDefLangNameOfFiveBytes() throws Exception {
        Info info = new Info();
        info.groupName = null;
        info.defLangName = Info.bytes("abcde");
        Info.Record record = sendThrough(V4, info);
        assertEquals(0, record.groupField[0]);
        assertArrayEquals(Info.bytes("abcde\0"), Arrays.copyOf(record.defLangField, 6));
    }

    @Test
    void theV3NameBuffersHoldAll256BytesOfTheirField() throws Exception {
        Info info = new Info();
        info.groupName = Info.bytes("grp");
        info.defLangName = filled(255, 'x');
        Info.Record record = sendThrough(V3, info);
        byte[] expectedGroup = new byte[256];
        System.arraycopy(info.groupName, 0, expectedGroup, 0, 3);
        byte[] expectedLang = Arrays.copyOf(filled(255, 'x'), 256);
        assertArrayEquals(expectedGroup, record.groupField);
        assertArrayEquals(expectedLang, record.defLangField);
    }

    static Stream<Arguments> longNames() {
        return Stream.of(V3, V4).flatMap(call -> Stream.<Arguments>of(
                Arguments.of(call, "GroupName", (Consumer<Info>) info -> info.groupName = filled(256, 'g')),
                Arguments.of(call, "DefLangName",
                        (Consumer<Info>) info -> info.defLangName = filled(1000, 'd'))));
    }

    @ParameterizedTest
    @MethodSource("longNames")
    void aNameLongerThan255BytesIsRefused(TextCall call, String field, Consumer<Info> lengthen) {
        Info info = new Info();
        lengthen.accept(info);
        int length = field.equals("GroupName") ? 256 : 1000;
        IllegalArgumentException thrown = assertThrows(IllegalArgumentException.class,
                () -> call.call(Info.bytes("in"), Info.bytes("out"), info, 1));
        assertTrue(thrown.getMessage().contains(field) && thrown.getMessage().contains(" " + length + " "),
                thrown.getMessage());
        assertEquals(0, ScriptedEngine.calls(), "the engine ran");
    }

    @Test
    void initFIDsCanRunAgain() throws Exception {
        for (Class<?> cls : List.of(RVXTextInfo.class, RVXTextInfoV4.class)) {
            Method initFIDs = cls.getDeclaredMethod("initFIDs");
            initFIDs.setAccessible(true);
            initFIDs.invoke(null);
            initFIDs.invoke(null);
        }
        Info info = new Info();
        info.option = 99;
        assertEquals(99, sendThrough(V3, info).option);
        assertEquals(99, sendThrough(V4, info).option);
    }
}
