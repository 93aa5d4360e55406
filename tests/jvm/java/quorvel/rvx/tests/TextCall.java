package quorvel.rvx.tests;

import java.util.List;

import quorvel.rvx.v3.RVXException;
import quorvel.rvx.v3.RVXTextInfo;
import quorvel.rvx.v3.RVXnativeV3;
import quorvel.rvx.v4.RVXExceptionV4;
import quorvel.rvx.v4.RVXTextInfoV4;
import quorvel.rvx.v4.RVXnativeV4;

/** One of the eight calls that extract text into a file, with what tells them apart. */
final class TextCall {
    interface Invoker {
        int call(byte[] in, byte[] out, Object info, int page, byte[] pwd) throws Exception;
    }

    final String name;
    final int ordinal;
    final boolean v3;
    final boolean paged;
    final boolean password;
    private final Invoker invoker;

    private TextCall(String name, int ordinal, boolean v3, boolean paged, boolean password,
            Invoker invoker) {
        this.name = name;
        this.ordinal = ordinal;
        this.v3 = v3;
        this.paged = paged;
        this.password = password;
        this.invoker = invoker;
    }

    static List<TextCall> all() {
        return List.of(
                new TextCall("getTextV3", 302, true, false, false,
                        (in, out, info, page, pwd) -> RVXnativeV3.getTextV3(in, out, (RVXTextInfo) info)),
                new TextCall("getPageTextV3", 303, true, true, false,
                        (in, out, info, page, pwd) -> RVXnativeV3.getPageTextV3(in, out, (RVXTextInfo) info,
                                page)),
                new TextCall("getPwdTextV3", 305, true, false, true,
                        (in, out, info, page, pwd) -> RVXnativeV3.getPwdTextV3(in, out, (RVXTextInfo) info,
                                pwd)),
                new TextCall("getPwdPageTextV3", 306, true, true, true,
                        (in, out, info, page, pwd) -> RVXnativeV3.getPwdPageTextV3(in, out,
                                (RVXTextInfo) info, page, pwd)),
                new TextCall("getTextV4", 402, false, false, false,
                        (in, out, info, page, pwd) -> RVXnativeV4.getTextV4(in, out, (RVXTextInfoV4) info)),
                new TextCall("getPageTextV4", 403, false, true, false,
                        (in, out, info, page, pwd) -> RVXnativeV4.getPageTextV4(in, out,
                                (RVXTextInfoV4) info, page)),
                new TextCall("getPwdTextV4", 405, false, false, true,
                        (in, out, info, page, pwd) -> RVXnativeV4.getPwdTextV4(in, out,
                                (RVXTextInfoV4) info, pwd)),
                new TextCall("getPwdPageTextV4", 406, false, true, true,
                        (in, out, info, page, pwd) -> RVXnativeV4.getPwdPageTextV4(in, out,
                                (RVXTextInfoV4) info, page, pwd)));
    }

    Object infoObject(Info info) {
        return v3 ? info.v3() : info.v4();
    }

    int call(byte[] in, byte[] out, Object info, int page, byte[] pwd) throws Exception {
        return invoker.call(in, out, info, page, pwd);
    }

    int call(byte[] in, byte[] out, Info info, int page) throws Exception {
        return call(in, out, infoObject(info), page, Info.bytes("pwd"));
    }

    /** The engine code carried by an exception of this call's generation, or null for another. */
    Integer engineCode(Throwable thrown) {
        if (v3 && thrown instanceof RVXException) {
            return ((RVXException) thrown).getCode();
        }
        if (!v3 && thrown instanceof RVXExceptionV4) {
            return ((RVXExceptionV4) thrown).getCode();
        }
        return null;
    }

    @Override
    public String toString() {
        return name;
    }
}
