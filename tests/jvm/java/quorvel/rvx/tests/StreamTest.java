package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

import quorvel.rvx.v4.RVXExceptionV4;
import quorvel.rvx.v4.RVXnativeV4;

class StreamTest {
    /**
     * Keeps every array handed to write, in order, and whether the engine had
     * already written all its text when the array arrived.
     */
    static final class Recorder {
        final List<byte[]> arrays = new ArrayList<>();
        final List<Boolean> afterEngineWrote = new ArrayList<>();
        int writesBeforeFailure = Integer.MAX_VALUE;
        RuntimeException failure;

        public void write(byte[] bytes) {
            if (arrays.size() >= writesBeforeFailure) {
                throw failure;
            }
            arrays.add(bytes);
            afterEngineWrote.add(ScriptedEngine.streamTextWritten());
        }

        List<Integer> sizes() {
            return arrays.stream().map(array -> array.length).toList();
        }

        byte[] all() {
            ByteArrayOutputStream joined = new ByteArrayOutputStream();
            arrays.forEach(joined::writeBytes);
            return joined.toByteArray();
        }
    }

    /** The two stream calls behind one signature; page is ignored by the whole-text call. */
    enum Call {
        TEXT(420) {
            @Override
            int run(byte[] in, Object stream, Info info, int page) {
                return RVXnativeV4.getTextStreamV4(in, stream, info == null ? null : info.v4());
            }
        },
        PAGE(421) {
            @Override
            int run(byte[] in, Object stream, Info info, int page) throws RVXExceptionV4 {
                return RVXnativeV4.getPageTextStreamV4(in, stream, info == null ? null : info.v4(), page);
            }
        };

        final int ordinal;

        Call(int ordinal) {
            this.ordinal = ordinal;
        }

        abstract int run(byte[] in, Object stream, Info info, int page) throws RVXExceptionV4;
    }

    /**
     * Every byte value in turn, so that byte 255, the first one to arrive at
     * a full buffer, is 0xFF: as a plain char it would read as end-of-file.
     */
    static byte[] text(int length) {
        byte[] text = new byte[length];
        for (int i = 0; i < length; i++) {
            text[i] = (byte) i;
        }
        return text;
    }

    @BeforeEach
    void resetEngine() {
        ScriptedEngine.reset();
    }

    // Text length, flush points, the sizes of the arrays and, for each array,
    // whether it arrived only after the engine had written everything (at
    // the end of the call) rather than while the engine was writing.
    static Stream<Arguments> deliveries() {
        final boolean during = false;
        final boolean atEnd = true;
        return Stream.of(Call.values()).flatMap(call -> Stream.of(
                Arguments.of(call, 600, new int[0], List.of(255, 255, 90), List.of(during, during, atEnd)),
                Arguments.of(call, 20, new int[] {10}, List.of(10, 10), List.of(during, atEnd)),
                Arguments.of(call, 255, new int[0], List.of(255), List.of(atEnd)),
                Arguments.of(call, 256, new int[0], List.of(255, 1), List.of(during, atEnd)),
                Arguments.of(call, 0, new int[0], List.of(), List.of()),
                Arguments.of(call, 0, new int[] {0}, List.of(), List.of()),
                Arguments.of(call, 300, new int[] {100, 100, 355}, List.of(100, 200),
                        List.of(during, during))));
    }

    @ParameterizedTest
    @MethodSource("deliveries")
    void textArrivesInArraysOfAtMost255Bytes(Call call, int length, int[] flushAfter, List<Integer> sizes,
            List<Boolean> afterEngineWrote) throws Exception {
        byte[] text = text(length);
        ScriptedEngine.setText(text, flushAfter);
        Recorder recorder = new Recorder();
        assertEquals(0, call.run(Info.bytes("doc"), recorder, new Info(), 3));
        assertEquals(sizes, recorder.sizes());
        assertEquals(afterEngineWrote, recorder.afterEngineWrote, "when each array arrived");
        assertArrayEquals(text, recorder.all());
        assertEquals(call.ordinal, ScriptedEngine.lastOperation());
        assertTrue(ScriptedEngine.lastReservedWasNull());
    }

    @ParameterizedTest
    @MethodSource("quorvel.rvx.tests.StreamTest#calls")
    void endOfFileHandedToTheBufferDeliversWhatIsPendingAndSucceeds(Call call) throws Exception {
        // 10 bytes, end-of-file; 255 bytes filling the buffer, end-of-file; 35 bytes.
        byte[] text = text(300);
        ScriptedEngine.setText(text, new int[] {10, 265});
        ScriptedEngine.setFlushWithEndOfFile(true);
        Recorder recorder = new Recorder();
        assertEquals(0, call.run(Info.bytes("doc"), recorder, new Info(), 3));
        assertEquals(List.of(10, 255, 35), recorder.sizes());
        assertEquals(List.of(false, false, true), recorder.afterEngineWrote);
        assertArrayEquals(text, recorder.all(), "end-of-file added or lost bytes");
    }

    @Test
    void pageZeroAnswersTheStoredValueAfterAllTextArrived() throws Exception {
        ScriptedEngine.setText(text(600), new int[0]);
        ScriptedEngine.setStoredPage(12);
        Recorder recorder = new Recorder();
        assertEquals(12, RVXnativeV4.getPageTextStreamV4(Info.bytes("doc"), recorder, new Info().v4(), 0));
        assertEquals(600, recorder.all().length);
        assertEquals(0, RVXnativeV4.getPageTextStreamV4(Info.bytes("doc"), recorder, new Info().v4(), 2));
        assertEquals(2, ScriptedEngine.lastPageOnEntry());
    }

    @Test
    void anEngineErrorIsRaisedByThePageCallAfterTheTextArrived() {
        ScriptedEngine.setText(text(300), new int[0]);
        ScriptedEngine.setResult(8);
        Recorder recorder = new Recorder();
        RVXExceptionV4 thrown = assertThrows(RVXExceptionV4.class,
                () -> RVXnativeV4.getPageTextStreamV4(Info.bytes("doc"), recorder, new Info().v4(), 1));
        assertEquals(8, thrown.getCode());
        assertEquals(List.of(255, 45), recorder.sizes());
    }

    @Test
    void anEngineErrorIsOnlyReturnedByTheWholeTextCall() {
        ScriptedEngine.setText(text(300), new int[0]);
        ScriptedEngine.setResult(8);
        Recorder recorder = new Recorder();
        assertEquals(8, RVXnativeV4.getTextStreamV4(Info.bytes("doc"), recorder, new Info().v4()));
        assertEquals(List.of(255, 45), recorder.sizes());
    }

    static Stream<Arguments> failingWrites() {
        return Stream.of(Call.values()).flatMap(call -> Stream.of(
                Arguments.of(call, 0, 0),
                Arguments.of(call, 1, 0),
                Arguments.of(call, 1, 8)));
    }

    @ParameterizedTest
    @MethodSource("failingWrites")
    void afterWriteThrowsNothingMoreIsDeliveredAndItsExceptionReachesTheCaller(Call call, int writesBefore,
            int engineResult) {
        ScriptedEngine.setText(text(1000), new int[] {10, 20});
        ScriptedEngine.setResult(engineResult);
        Recorder recorder = new Recorder();
        recorder.writesBeforeFailure = writesBefore;
        recorder.failure = new IllegalStateException("disk full");
        IllegalStateException thrown = assertThrows(IllegalStateException.class,
                () -> call.run(Info.bytes("doc"), recorder, new Info(), 1));
        assertSame(recorder.failure, thrown);
        assertEquals(writesBefore, recorder.arrays.size());
    }

    @ParameterizedTest
    @MethodSource("quorvel.rvx.tests.StreamTest#calls")
    void theStreamHasNoPositionAndMovesNowhere(Call call) throws Exception {
        ScriptedEngine.setText(text(300), new int[0]);
        Recorder recorder = new Recorder();
        call.run(Info.bytes("doc"), recorder, new Info(), 1);
        assertEquals(-1, ScriptedEngine.lastTellp());
        assertEquals(0, ScriptedEngine.lastSeekpos());
        assertEquals(List.of(255, 45), recorder.sizes(), "moving lost or repeated no text");
    }

    @Test
    void anOutputStreamReceivesTheText() {
        byte[] text = text(5000);
        ScriptedEngine.setText(text, new int[] {1, 2, 3, 4000});
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        assertEquals(0, RVXnativeV4.getTextStreamV4(Info.bytes("doc"), out, new Info().v4()));
        assertArrayEquals(text, out.toByteArray());
    }

    /** One call delivering thousands of arrays: every array's local reference must be released. */
    @Test
    void manyDeliveriesInOneCall() {
        byte[] text = text(1_000_000);
        ScriptedEngine.setText(text, new int[0]);
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        assertEquals(0, RVXnativeV4.getTextStreamV4(Info.bytes("doc"), out, new Info().v4()));
        assertEquals(text.length, out.size());
    }

    @ParameterizedTest
    @MethodSource("quorvel.rvx.tests.StreamTest#calls")
    void anObjectWithoutWriteIsRefusedBeforeTheEngineRuns(Call call) {
        assertThrows(NoSuchMethodError.class, () -> call.run(Info.bytes("doc"), "no write method", new Info(), 1));
        assertEquals(0, ScriptedEngine.calls());
    }

    static Stream<Arguments> nullArguments() {
        return Stream.of(Call.values()).flatMap(call -> Stream.of(
                Arguments.of(call, "in"), Arguments.of(call, "stream"), Arguments.of(call, "info")));
    }

    @ParameterizedTest
    @MethodSource("nullArguments")
    void aNullArgumentIsRefusedBeforeTheEngineRuns(Call call, String parameter) {
        byte[] in = parameter.equals("in") ? null : Info.bytes("doc");
        Object stream = parameter.equals("stream") ? null : new Recorder();
        Info info = parameter.equals("info") ? null : new Info();
        NullPointerException thrown = assertThrows(NullPointerException.class,
                () -> call.run(in, stream, info, 1));
        assertTrue(thrown.getMessage().startsWith(parameter + " "), thrown.getMessage());
        assertEquals(0, ScriptedEngine.calls());
    }

    static Stream<Call> calls() {
        return Stream.of(Call.values());
    }
}
