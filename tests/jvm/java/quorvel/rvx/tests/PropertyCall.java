package quorvel.rvx.tests;

import java.lang.reflect.Field;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

import quorvel.rvx.v3.RVXProperty;
import quorvel.rvx.v3.RVXTextInfo;
import quorvel.rvx.v3.RVXnativeV3;
import quorvel.rvx.v4.RVXPropertyV4;
import quorvel.rvx.v4.RVXTextInfoV4;
import quorvel.rvx.v4.RVXnativeV4;

/** One of the four property calls, and the layout of the record they read. */
final class PropertyCall {
    interface Invoker {
        int call(byte[] in, Object info, Object property, byte[] pwd);
    }

    /** Slot names in record order with their sizes: 1028, 256 or 32 bytes. */
    static final Map<String, Integer> SLOTS = slots();
    static final int RECORD_BYTES = 26964;

    final String name;
    final int ordinal;
    final boolean v3;
    final boolean password;
    private final Invoker invoker;

    private PropertyCall(String name, int ordinal, boolean v3, boolean password, Invoker invoker) {
        this.name = name;
        this.ordinal = ordinal;
        this.v3 = v3;
        this.password = password;
        this.invoker = invoker;
    }

    static List<PropertyCall> all() {
        return List.of(
                new PropertyCall("getProperty", 304, true, false,
                        (in, info, property, pwd) -> RVXnativeV3.getProperty(in, (RVXTextInfo) info,
                                (RVXProperty) property)),
                new PropertyCall("getPwdProperty", 307, true, true,
                        (in, info, property, pwd) -> RVXnativeV3.getPwdProperty(in, (RVXTextInfo) info,
                                (RVXProperty) property, pwd)),
                new PropertyCall("getPropertyV4", 404, false, false,
                        (in, info, property, pwd) -> RVXnativeV4.getPropertyV4(in, (RVXTextInfoV4) info,
                                (RVXPropertyV4) property)),
                new PropertyCall("getPwdPropertyV4", 407, false, true,
                        (in, info, property, pwd) -> RVXnativeV4.getPwdPropertyV4(in,
                                (RVXTextInfoV4) info, (RVXPropertyV4) property, pwd)));
    }

    private static Map<String, Integer> slots() {
        List<String> long1028 = List.of("title", "author", "keyword", "subject", "comment", "manager",
                "company", "category", "revision", "lastrevisor", "creator", "producer", "presentation");
        String[] names = {"title", "author", "keyword", "subject", "comment", "manager", "company",
            "category", "createdate", "revision", "lastrevisor", "revisioncount", "lastprintdate",
            "edittime", "creator", "producer", "encryptionflag", "slides", "paragraphs", "bytes", "notes",
            "presentation", "doctype", "lastsavetime", "owner", "m_abstract", "account", "address",
            "attachments", "authorization", "bill_to", "blind_copy", "carbon_copy", "checked_by",
            "client", "department", "descriptive_name", "descriptive_type", "destination",
            "disposition", "division", "document_number", "editor", "forward_to", "group", "language",
            "mail_stop", "matter", "office", "project", "publisher", "purpose", "received_from",
            "recorded_by", "recorded_date", "reference", "revision_date", "revision_notes", "section",
            "security", "source", "status", "telephone_number", "typist", "version_date",
            "version_notes", "version_number"};
        Map<String, Integer> slots = new LinkedHashMap<>();
        for (String name : names) {
            slots.put(name, long1028.contains(name) ? 1028 : name.equals("encryptionflag") ? 32 : 256);
        }
        return slots;
    }

    /** Offset of a slot in the record. */
    static int offset(String slot) {
        int offset = 0;
        for (Map.Entry<String, Integer> entry : SLOTS.entrySet()) {
            if (entry.getKey().equals(slot)) {
                return offset;
            }
            offset += entry.getValue();
        }
        throw new IllegalArgumentException(slot);
    }

    Object newProperty() {
        return v3 ? new RVXProperty() : new RVXPropertyV4();
    }

    Object infoObject(Info info) {
        return v3 ? info.v3() : info.v4();
    }

    int call(byte[] in, Object info, Object property, byte[] pwd) {
        return invoker.call(in, info, property, pwd);
    }

    /** The 67 fields of a property object in record order. */
    static List<String> values(Object property) throws ReflectiveOperationException {
        List<String> values = new ArrayList<>();
        for (String slot : SLOTS.keySet()) {
            Field field = property.getClass().getField(slot);
            values.add((String) field.get(property));
        }
        return values;
    }

    @Override
    public String toString() {
        return name;
    }
}
