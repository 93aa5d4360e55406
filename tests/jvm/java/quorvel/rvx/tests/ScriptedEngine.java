package quorvel.rvx.tests;

/**
 * Control of the scripted stand-in engine that rvxjava is linked against in
 * the tests. Script and report belong to the calling thread.
 */
final class ScriptedEngine {
    static {
        System.loadLibrary("rvx_txif");
    }

    private ScriptedEngine() {
    }

    /** Back to the defaults: result 0, nothing stored or written, empty record. */
    static native void reset();

    static native void setResult(int result);

    /** Makes the page operations store this value through their page pointer. */
    static native void setStoredPage(int page);

    /** Text for the output file or stream; the stream is flushed after each given byte count. */
    static native void setText(byte[] text, int[] flushAfter);

    /**
     * At the flush points the stream buffer is handed end-of-file instead of
     * being flushed; an answer of end-of-file fails the stream.
     */
    static native void setFlushWithEndOfFile(boolean endOfFile);

    /** Bytes copied to the start of the record that an operation fills. */
    static native void setRecord(byte[] record);

    /** Ordinal of the last operation on this thread. */
    static native int lastOperation();

    /** Number of operations run on this thread. */
    static native int calls();

    static native byte[] lastIn();

    static native byte[] lastOut();

    static native byte[] lastPwd();

    /** The 532 bytes of text information in the V4 layout (V3: its two name buffers in place). */
    static native byte[] lastTextInfo();

    static native int lastPageOnEntry();

    static native boolean lastReservedWasNull();

    static native boolean lastRecordWasZero();

    /** What the stream answered to tellp() after the text was written. */
    static native long lastTellp();

    /** What the stream answered when asked to move to position 7. */
    static native long lastSeekpos();

    /**
     * Whether the current or last stream operation of this thread has written
     * all its text: false while it is still writing, true once it is done.
     */
    static native boolean streamTextWritten();

    static native long nativeHeapInUse();
}
