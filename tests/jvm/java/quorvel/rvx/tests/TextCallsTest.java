package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

class TextCallsTest {
    // A path in a multibyte code page (Shift_JIS for "日本.txt") with a trailing
    // byte that is ASCII '\'.
    private static final byte[] SHIFT_JIS_PATH = {(byte) 0x93, (byte) 0xFA, (byte) 0x96, (byte) 0x7B,
        0x5C, '.', 't', 'x', 't'};

    @BeforeEach
    void resetEngine() {
        ScriptedEngine.reset();
    }

    static List<TextCall> calls() {
        return TextCall.all();
    }

    @ParameterizedTest
    @MethodSource("calls")
    void handsTheEngineTheArgumentsUnchanged(TextCall call) throws Exception {
        Info info = new Info();
        byte[] out = Info.bytes("/tmp/out.txt");
        byte[] pwd = {'s', (byte) 0xE9, 'c'};

        call.call(SHIFT_JIS_PATH, out, call.infoObject(info), 7, pwd);

        assertEquals(call.ordinal, ScriptedEngine.lastOperation());
        assertArrayEquals(SHIFT_JIS_PATH, ScriptedEngine.lastIn());
        assertArrayEquals(out, ScriptedEngine.lastOut());
        if (call.password) {
            assertArrayEquals(pwd, ScriptedEngine.lastPwd());
        } else {
            assertNull(ScriptedEngine.lastPwd());
        }
        if (call.paged) {
            assertEquals(7, ScriptedEngine.lastPageOnEntry());
        }
        if (!call.v3) {
            assertTrue(ScriptedEngine.lastReservedWasNull(), "the trailing argument is a null pointer");
        }
        Info.Record record = Info.Record.last();
        assertArrayEquals(info.groupName, Info.Record.name(record.groupField));
        assertArrayEquals(info.defLangName, Info.Record.name(record.defLangField));
        assertEquals(List.of(0, 3, 4, 5, 6),
                List.of(record.bigEndian, record.option, record.option1, record.size, record.csvC));
    }

    static Stream<Arguments> pathCopies() {
        return calls().stream().flatMap(call -> Stream.of(
                Arguments.of(call, new byte[0], new byte[0]),
                Arguments.of(call, new byte[] {'a', 0, 'b'}, new byte[] {'a'})));
    }

    @ParameterizedTest
    @MethodSource("pathCopies")
    void pathsEndAtTheirFirstZeroByte(TextCall call, byte[] path, byte[] seenByEngine) throws Exception {
        call.call(path, path, new Info(), 1);
        assertArrayEquals(seenByEngine, ScriptedEngine.lastIn());
        assertArrayEquals(seenByEngine, ScriptedEngine.lastOut());
    }

    @ParameterizedTest
    @MethodSource("calls")
    void anEngineErrorIsRaisedOnlyByThePageCalls(TextCall call) throws Exception {
        ScriptedEngine.setResult(-17);
        if (!call.paged) {
            assertEquals(-17, call.call(Info.bytes("in"), Info.bytes("out"), new Info(), 0));
            return;
        }
        try {
            call.call(Info.bytes("in"), Info.bytes("out"), new Info(), 0);
            fail("no exception");
        } catch (Exception thrown) {
            assertEquals(Integer.valueOf(-17), call.engineCode(thrown), thrown.toString());
        }
    }

    static Stream<Arguments> pageRule() {
        return calls().stream().filter(call -> call.paged).flatMap(call -> Stream.of(
                Arguments.of(call, 0, 42),
                Arguments.of(call, 7, 0),
                Arguments.of(call, -1, 0)));
    }

    @ParameterizedTest
    @MethodSource("pageRule")
    void pageZeroAnswersTheValueTheEngineStored(TextCall call, int page, int expected) throws Exception {
        ScriptedEngine.setStoredPage(42);
        assertEquals(expected, call.call(Info.bytes("in"), Info.bytes("out"), new Info(), page));
        assertEquals(page, ScriptedEngine.lastPageOnEntry());
    }

    @ParameterizedTest
    @MethodSource("calls")
    void theEngineCanWriteToTheOutputPath(TextCall call, @TempDir Path dir) throws Exception {
        Path out = dir.resolve("text.txt");
        ScriptedEngine.setText(Info.bytes("extracted text"), new int[0]);
        assertEquals(0, call.call(Info.bytes("in"), Info.bytes(out.toString()), new Info(), 1));
        assertEquals("extracted text", Files.readString(out));
    }

    static Stream<Arguments> nullArguments() {
        return calls().stream().flatMap(call -> Stream.of("in", "out", "info", "pwd")
                .filter(parameter -> call.password || !parameter.equals("pwd"))
                .map(parameter -> Arguments.of(call, parameter)));
    }

    @ParameterizedTest
    @MethodSource("nullArguments")
    void aNullArgumentIsRefusedBeforeTheEngineRuns(TextCall call, String parameter) {
        byte[] in = parameter.equals("in") ? null : Info.bytes("in");
        byte[] out = parameter.equals("out") ? null : Info.bytes("out");
        Object info = parameter.equals("info") ? null : call.infoObject(new Info());
        byte[] pwd = parameter.equals("pwd") ? null : Info.bytes("pwd");
        int callsBefore = ScriptedEngine.calls();

        NullPointerException thrown = assertThrows(NullPointerException.class,
                () -> call.call(in, out, info, 1, pwd));
        assertTrue(thrown.getMessage().startsWith(parameter + " "), thrown.getMessage());
        assertEquals(callsBefore, ScriptedEngine.calls(), "the engine ran");
    }
}
