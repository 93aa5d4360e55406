package quorvel.rvx.v4;

/**
 * Error details: a level number, a detection result and an error code. The
 * native library caches the field IDs of this class; no native method reads
 * or writes them.
 */
public class RVXOleErr {
    static {
        RVXnativeV4.loadLibrary();
        initFIDs();
    }

    public Integer LevNum;
    public String DtctResult;
    public Long ErrCode;

    /** Looks up the field IDs that the native library uses for this class. */
    static native void initFIDs();
}
