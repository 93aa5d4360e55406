package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.util.Arrays;
import java.util.List;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;

import quorvel.rvx.v3.RVXException;
import quorvel.rvx.v3.RVXfileInfo;
import quorvel.rvx.v3.RVXnativeV3;
import quorvel.rvx.v4.RVXExceptionV4;
import quorvel.rvx.v4.RVXfileInfoV4;
import quorvel.rvx.v4.RVXnativeV4;

class FileInfoTest {
    /** The file-information object as five values, whichever generation made it. */
    record Result(byte[] format, byte[] subFormat, byte[] country, int value1, int value2) {
    }

    interface Call {
        Result call(byte[] in) throws Exception;
    }

    /** One generation: its call, its ordinal and a reader of its exception's code. */
    record Generation(String name, int ordinal, Call call) {
        @Override
        public String toString() {
            return name;
        }
    }

    static List<Generation> generations() {
        return List.of(
                new Generation("getRVXFileInfoV3", 301, in -> {
                    RVXfileInfo info = RVXnativeV3.getRVXFileInfoV3(in);
                    return new Result(info.DocFormat, info.DocSubFormat, info.DocCountry, info.Value1,
                            info.Value2);
                }),
                new Generation("getRVXFileInfoV4", 401, in -> {
                    RVXfileInfoV4 info = RVXnativeV4.getRVXFileInfoV4(in);
                    return new Result(info.DocFormat, info.DocSubFormat, info.DocCountry, info.Value1,
                            info.Value2);
                }));
    }

    /** A 296-byte FileInfoRec: three strings at 0, 128 and 256, integers at 288 and 292. */
    static byte[] record(byte[] format, byte[] subFormat, byte[] country, int first, int second) {
        ByteBuffer record = ByteBuffer.allocate(296).order(ByteOrder.LITTLE_ENDIAN);
        record.put(0, format).put(128, subFormat).put(256, country);
        record.putInt(288, first).putInt(292, second);
        return record.array();
    }

    static byte[] filled(int length, char value) {
        byte[] bytes = new byte[length];
        Arrays.fill(bytes, (byte) value);
        return bytes;
    }

    @BeforeEach
    void resetEngine() {
        ScriptedEngine.reset();
    }

    @ParameterizedTest
    @MethodSource("generations")
    void aFilledRecordBecomesANewObject(Generation generation) throws Exception {
        ScriptedEngine.setRecord(record(Info.bytes("Plain text"), Info.bytes("UTF-8"), new byte[0], 1234, -5));
        Result result = generation.call().call(Info.bytes("doc.txt"));
        assertEquals(generation.ordinal(), ScriptedEngine.lastOperation());
        assertArrayEquals(Info.bytes("doc.txt"), ScriptedEngine.lastIn());
        assertArrayEquals(Info.bytes("Plain text"), result.format());
        assertArrayEquals(Info.bytes("UTF-8"), result.subFormat());
        assertArrayEquals(new byte[0], result.country(), "an empty DocCountry gives an empty array");
        assertEquals(List.of(1234, -5), List.of(result.value1(), result.value2()));
    }

    @ParameterizedTest
    @MethodSource("generations")
    void stringsThatFillTheirSlotsAreCutAtTheSlotEnd(Generation generation) throws Exception {
        // A 127-byte format with its NUL in the last byte; a sub-format and a
        // country without any NUL in their slots.
        ScriptedEngine.setRecord(record(filled(127, 'f'), filled(128, 's'), filled(32, 'c'), 7, 8));
        Result result = generation.call().call(Info.bytes("doc"));
        assertArrayEquals(filled(127, 'f'), result.format());
        assertArrayEquals(filled(128, 's'), result.subFormat());
        assertArrayEquals(filled(32, 'c'), result.country());
        assertEquals(List.of(7, 8), List.of(result.value1(), result.value2()));
    }

    @ParameterizedTest
    @MethodSource("generations")
    void anEngineErrorRaisesTheGenerationsException(Generation generation) {
        ScriptedEngine.setResult(13);
        try {
            generation.call().call(Info.bytes("doc"));
            fail("no exception");
        } catch (RVXException thrown) {
            assertEquals(301, generation.ordinal());
            assertEquals(13, thrown.getCode());
        } catch (RVXExceptionV4 thrown) {
            assertEquals(401, generation.ordinal());
            assertEquals(13, thrown.getCode());
        } catch (Exception thrown) {
            fail(thrown);
        }
    }

    @ParameterizedTest
    @MethodSource("generations")
    void aNullPathIsRefusedBeforeTheEngineRuns(Generation generation) {
        NullPointerException thrown = assertThrows(NullPointerException.class,
                () -> generation.call().call(null));
        assertTrue(thrown.getMessage().startsWith("in "), thrown.getMessage());
        assertEquals(0, ScriptedEngine.calls());
        assertNull(ScriptedEngine.lastIn());
    }
}
