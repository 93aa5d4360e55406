package quorvel.rvx.v4;

/** An error code of the text-extraction engine. */
public class RVXExceptionV4 extends Exception {
    private static final long serialVersionUID = 1L;

    private final int code;

    public RVXExceptionV4(int code) {
        super("text-extraction engine error " + code);
        this.code = code;
    }

    /** The engine's result code, never 0. */
    public int getCode() {
        return code;
    }
}
