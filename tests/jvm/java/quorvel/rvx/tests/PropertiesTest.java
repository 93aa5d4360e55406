package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

import quorvel.rvx.v4.RVXOleErr;

class PropertiesTest {
    @BeforeEach
    void resetEngine() {
        ScriptedEngine.reset();
    }

    static List<PropertyCall> calls() {
        return PropertyCall.all();
    }

    /** A record whose every slot holds "=" followed by its own name. */
    private static byte[] namedRecord() {
        byte[] record = new byte[PropertyCall.RECORD_BYTES];
        for (String slot : PropertyCall.SLOTS.keySet()) {
            byte[] value = ("=" + slot).getBytes(StandardCharsets.US_ASCII);
            System.arraycopy(value, 0, record, PropertyCall.offset(slot), value.length);
        }
        return record;
    }

    private static List<String> expectedNames() {
        List<String> expected = new ArrayList<>();
        PropertyCall.SLOTS.keySet().forEach(slot -> expected.add("=" + slot));
        return expected;
    }

    @ParameterizedTest
    @MethodSource("calls")
    void everySlotReachesItsField(PropertyCall call) throws Exception {
        ScriptedEngine.setRecord(namedRecord());
        Object property = call.newProperty();
        byte[] pwd = Info.bytes("pässword");
        assertEquals(0, call.call(Info.bytes("doc"), call.infoObject(new Info()), property, pwd));
        assertEquals(call.ordinal, ScriptedEngine.lastOperation());
        assertArrayEquals(Info.bytes("doc"), ScriptedEngine.lastIn());
        if (call.password) {
            assertArrayEquals(pwd, ScriptedEngine.lastPwd());
        } else {
            assertNull(ScriptedEngine.lastPwd());
        }
        assertEquals(expectedNames(), PropertyCall.values(property));
    }

    @ParameterizedTest
    @MethodSource("calls")
    void bigEndianIsForcedToOneAndTheRestPassesUnchanged(PropertyCall call) {
        Info info = new Info();
        info.bigEndian = 0;
        info.option = 0x100000009L;
        info.groupName = Info.bytes("G");
        call.call(Info.bytes("doc"), call.infoObject(info), call.newProperty(), Info.bytes("p"));
        Info.Record record = Info.Record.last();
        assertEquals(List.of(1, 9, 4, 5, 6),
                List.of(record.bigEndian, record.option, record.option1, record.size, record.csvC));
        assertArrayEquals(Info.bytes("G"), Info.Record.name(record.groupField));
    }

    @ParameterizedTest
    @MethodSource("calls")
    void anEngineErrorIsReturnedAndTheRecordStillWritten(PropertyCall call) throws Exception {
        ScriptedEngine.setResult(21);
        ScriptedEngine.setRecord(namedRecord());
        Object property = call.newProperty();
        assertEquals(21, call.call(Info.bytes("doc"), call.infoObject(new Info()), property, Info.bytes("p")));
        assertEquals(expectedNames(), PropertyCall.values(property));
    }

    @ParameterizedTest
    @MethodSource("calls")
    void anUnfilledRecordGivesEmptyStrings(PropertyCall call) throws Exception {
        ScriptedEngine.setResult(2);
        Object property = call.newProperty();
        call.call(Info.bytes("doc"), call.infoObject(new Info()), property, Info.bytes("p"));
        assertTrue(ScriptedEngine.lastRecordWasZero(), "the record was cleared before the engine call");
        assertEquals(Collections.nCopies(67, ""), PropertyCall.values(property));
    }

    static Stream<Arguments> slotBytes() {
        return Stream.of(
                Arguments.of(new int[] {0x48, 0xC3, 0xA9}, "H\u00e9"),
                Arguments.of(new int[] {0xE2, 0x82, 0xAC}, "\u20ac"),
                Arguments.of(new int[] {0xF0, 0x9F, 0x98, 0x80}, "\ud83d\ude00"),
                Arguments.of(new int[] {0x41, 0xFF, 0x42}, "A\ufffdB"),
                Arguments.of(new int[] {0x41, 0xE2, 0x82, 0x41}, "A\ufffd\ufffdA"),
                Arguments.of(new int[] {0xC0, 0x80}, "\ufffd\ufffd"),
                Arguments.of(new int[] {0xED, 0xA0, 0x80}, "\ufffd\ufffd\ufffd"),
                Arguments.of(new int[] {0xF4, 0x90, 0x80, 0x80}, "\ufffd\ufffd\ufffd\ufffd"),
                Arguments.of(new int[] {0xC3}, "\ufffd"));
    }

    @ParameterizedTest
    @MethodSource("slotBytes")
    void slotBytesAreReadAsUtf8WithReplacements(int[] bytes, String expected) throws Exception {
        byte[] record = new byte[PropertyCall.RECORD_BYTES];
        int author = PropertyCall.offset("author");
        for (int i = 0; i < bytes.length; i++) {
            record[author + i] = (byte) bytes[i];
        }
        ScriptedEngine.setRecord(record);
        PropertyCall call = calls().get(2);
        Object property = call.newProperty();
        call.call(Info.bytes("doc"), call.infoObject(new Info()), property, null);
        assertEquals(expected, PropertyCall.values(property).get(1));
    }

    @Test
    void aSlotWithoutNulIsCutAtItsEnd() throws Exception {
        byte[] record = namedRecord();
        // title and encryptionflag filled to their last byte; the next slots are intact.
        java.util.Arrays.fill(record, 0, 1028, (byte) 't');
        int flag = PropertyCall.offset("encryptionflag");
        java.util.Arrays.fill(record, flag, flag + 32, (byte) 'e');
        ScriptedEngine.setRecord(record);
        PropertyCall call = calls().get(0);
        Object property = call.newProperty();
        call.call(Info.bytes("doc"), call.infoObject(new Info()), property, null);
        List<String> values = PropertyCall.values(property);
        assertEquals("t".repeat(1028), values.get(0));
        assertEquals("=author", values.get(1));
        assertEquals("e".repeat(32), values.get(16));
        assertEquals("=slides", values.get(17));
    }

    static Stream<Arguments> nullArguments() {
        return calls().stream().flatMap(call -> Stream.of("in", "info", "property", "pwd")
                .filter(parameter -> call.password || !parameter.equals("pwd"))
                .map(parameter -> Arguments.of(call, parameter)));
    }

    @ParameterizedTest
    @MethodSource("nullArguments")
    void aNullArgumentIsRefusedBeforeTheEngineRuns(PropertyCall call, String parameter) {
        byte[] in = parameter.equals("in") ? null : Info.bytes("doc");
        Object info = parameter.equals("info") ? null : call.infoObject(new Info());
        Object property = parameter.equals("property") ? null : call.newProperty();
        byte[] pwd = parameter.equals("pwd") ? null : Info.bytes("p");
        NullPointerException thrown = assertThrows(NullPointerException.class,
                () -> call.call(in, info, property, pwd));
        assertTrue(thrown.getMessage().startsWith(parameter + " "), thrown.getMessage());
        assertEquals(0, ScriptedEngine.calls(), "the engine ran");
    }

    @Test
    void oleErrFillsItsCacheWhenLoaded() {
        RVXOleErr error = new RVXOleErr();
        assertNull(error.ErrCode);
    }
}
