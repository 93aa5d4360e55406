package quorvel.rvx.v4;

/** Detection details of an embedded-object error; its field IDs are cached for the engine's use. */
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
