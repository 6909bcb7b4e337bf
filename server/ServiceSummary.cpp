#include "server/ServiceSummary.h"

namespace service_config {
namespace {

using Texts = std::function<std::wstring(UINT)>;

std::vector<fw::TextRun> ConnectionRuns(int port, bool enabled, bool changed, const Texts& texts) {
    if (!enabled) return {{texts(1191), changed}};
    return {{texts(1180) + L": ", false}, {std::to_wstring(port), changed}};
}

UINT StartTypeTextId(int startType) {
    switch (startType) {
        case kOnDemand: return 1218;
        case kDisabled: return 1220;
        case kAutomaticDelayed: return 1219;
        default: return 1217;
    }
}

std::wstring AccountText(const ServiceSettings& entry, const Texts& texts) {
    switch (entry.accountKind) {
        case kLocalSystem: return texts(1187);
        case kLocalService: return texts(1186);
        case kNetworkService: return texts(1188);
        default: return entry.userName;
    }
}

}  // namespace

std::array<SummarySection, 3> ComposeSummaries(const ServiceSettings& entry, const Texts& texts) {
    std::array<SummarySection, 3> sections;
    const ServiceSettings::Initial& initial = entry.initial;
    SummarySection& web = sections[kUnencryptedSection];
    web.shown = true;
    web.title = texts(1177);
    // Turning a server off or on changes what is shown; a port counts as
    // changed only while the server listens.
    bool webChanged = entry.webEnabled != initial.webEnabled || (entry.webEnabled && entry.webPort != initial.webPort);
    web.runs = ConnectionRuns(entry.webPort, entry.webEnabled, webChanged, texts);
    if (entry.sslOffered) {
        SummarySection& ssl = sections[kSslSection];
        ssl.shown = true;
        ssl.title = texts(1178);
        bool sslChanged =
            entry.sslEnabled != initial.sslEnabled || (entry.sslEnabled && entry.sslPort != initial.sslPort);
        ssl.runs = ConnectionRuns(entry.sslPort, entry.sslEnabled, sslChanged, texts);
    }
    if (entry.hasService) {
        SummarySection& service = sections[kServiceSection];
        service.shown = true;
        service.title = texts(1182);
        bool accountChanged = entry.accountKind != initial.accountKind ||
                              (entry.accountKind == kOtherUser && entry.userName != initial.userName);
        service.runs = {{texts(1184) + L": ", false},
                        {texts(StartTypeTextId(entry.startType)), entry.startType != initial.startType},
                        {L", " + texts(1185) + L": ", false},
                        {AccountText(entry, texts), accountChanged}};
    }
    return sections;
}

}  // namespace service_config
