package quorvel.rvx.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;

import org.junit.jupiter.api.Test;

import quorvel.rvx.v3.RVXnativeV3;
import quorvel.rvx.v4.RVXPropertyV4;
import quorvel.rvx.v4.RVXTextInfoV4;
import quorvel.rvx.v4.RVXnativeV4;

/** Many threads at once, and long loops that must not grow the native heap. */
class LoadTest {
    private static final int THREADS = 8;
    private static final int ROUNDS = 2000;

    /** One thread's work: text, page, stream and property calls with values of its own. */
    private static Void workOf(int thread) throws Exception {
        ScriptedEngine.reset();
        byte[] propertyRecord = new byte[PropertyCall.RECORD_BYTES];
        byte[] title = ("thread " + thread).getBytes(StandardCharsets.US_ASCII);
        System.arraycopy(title, 0, propertyRecord, 0, title.length);
        ScriptedEngine.setRecord(propertyRecord);
        for (int round = 0; round < ROUNDS; round++) {
            byte[] in = ("in-" + thread + "-" + round).getBytes(StandardCharsets.US_ASCII);
            Info info = new Info();
            info.option = thread * 100_000L + round;

            ScriptedEngine.setResult(round % 5);
            assertEquals(round % 5, RVXnativeV3.getTextV3(in, in, info.v3()));
            assertEquals(302, ScriptedEngine.lastOperation());
            assertArrayEquals(in, ScriptedEngine.lastIn());
            assertEquals(info.option, Info.Record.last().option);

            ScriptedEngine.setResult(0);
            ScriptedEngine.setStoredPage(round);
            assertEquals(round, RVXnativeV4.getPageTextV4(in, in, info.v4(), 0));

            byte[] text = new byte[(round % 700) + thread];
            java.util.Arrays.fill(text, (byte) ('A' + thread));
            ScriptedEngine.setText(text, new int[0]);
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            assertEquals(0, RVXnativeV4.getTextStreamV4(in, out, info.v4()));
            assertArrayEquals(text, out.toByteArray());

            RVXPropertyV4 property = new RVXPropertyV4();
            assertEquals(0, RVXnativeV4.getPropertyV4(in, info.v4(), property));
            assertEquals("thread " + thread, property.title);
        }
        return null;
    }

    @Test
    void eightThreadsAtOnceEachGetTheirOwnResults() throws Exception {
        ExecutorService pool = Executors.newFixedThreadPool(THREADS);
        try {
            List<Future<Void>> results = new ArrayList<>();
            for (int thread = 0; thread < THREADS; thread++) {
                final int id = thread;
                results.add(pool.submit((Callable<Void>) () -> workOf(id)));
            }
            for (Future<Void> result : results) {
                result.get();
            }
        } finally {
            pool.shutdown();
        }
    }

    // A leak of the smallest buffer the bridge allocates costs at least 32
    // bytes a call, 3.2 MB per loop of 100,000 calls, in every loop. The
    // JVM's own use of the C heap (the JIT compilers above all) comes in
    // bursts, so a loop that stays under the bound once is enough.
    private static final long MAX_GROWTH = 1_000_000;
    private static final int LOOPS = 3;

    /**
     * Runs a call in loops of 100,000 after a warm-up and returns the smallest
     * growth of the C heap over one loop, in bytes; stops at the first loop
     * under the bound.
     */
    private static long heapGrowth(Runnable call) {
        for (int i = 0; i < 20_000; i++) {
            call.run();
        }
        long smallest = Long.MAX_VALUE;
        for (int loop = 0; loop < LOOPS && smallest >= MAX_GROWTH; loop++) {
            long before = ScriptedEngine.nativeHeapInUse();
            for (int i = 0; i < 100_000; i++) {
                call.run();
            }
            smallest = Math.min(smallest, ScriptedEngine.nativeHeapInUse() - before);
        }
        return smallest;
    }

    @Test
    void textCallsDoNotGrowTheNativeHeap() {
        ScriptedEngine.reset();
        byte[] in = "document.txt".getBytes(StandardCharsets.US_ASCII);
        RVXTextInfoV4 info = new Info().v4();
        quorvel.rvx.v3.RVXTextInfo infoV3 = new Info().v3();
        long growth = heapGrowth(() -> {
            RVXnativeV4.getPwdTextV4(in, in, info, in);
            RVXnativeV3.getPwdTextV3(in, in, infoV3, in);
        });
        assertTrue(growth < MAX_GROWTH, "the C heap grew by " + growth + " bytes");
    }

    @Test
    void streamAndPropertyCallsDoNotGrowTheNativeHeap() {
        ScriptedEngine.reset();
        ScriptedEngine.setText(StreamTest.text(1200), new int[] {300, 700});
        byte[] in = "document.txt".getBytes(StandardCharsets.US_ASCII);
        RVXTextInfoV4 info = new Info().v4();
        RVXPropertyV4 property = new RVXPropertyV4();
        Object sink = new Object() {
            @SuppressWarnings("unused")
            public void write(byte[] bytes) {
            }
        };
        long growth = heapGrowth(() -> {
            RVXnativeV4.getTextStreamV4(in, sink, info);
            RVXnativeV4.getPropertyV4(in, info, property);
        });
        assertTrue(growth < MAX_GROWTH, "the C heap grew by " + growth + " bytes");
    }
}
